"""Checks the built Windows program and its two packages without running them: the exe
is a 64-bit GUI program that needs only Windows' own DLLs and carries its icon, About
picture, version and manifest; the zip holds exactly the portable program, stripped,
with the committed settings; the installer is a 64-bit program of the same version
that installs the same files. Packages made right after the program was tried out in
the source tree (its Data/settings.txt rewritten, a save's leftovers beside it) still
carry the committed settings and nothing of the tryout.

The files checked are build-windows/bricketing.exe and dist/ under the repository, or
those named by BRICKETING_WINDOWS_EXE and BRICKETING_DIST. 7z reads the installer."""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile
from pathlib import Path

import pe

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tests" / "package"))
from tryout import LEFTOVERS, committed_settings, is_git_checkout, tried_out  # noqa: E402

EXE = Path(os.environ.get("BRICKETING_WINDOWS_EXE", ROOT / "build-windows" / "bricketing.exe"))
DIST = Path(os.environ.get("BRICKETING_DIST", ROOT / "dist"))
# Where Wine keeps its own builds of Windows' system DLLs.
WINE_SYSTEM_DLLS = Path("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows")

ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
COMPATIBILITY = "{urn:schemas-microsoft-com:compatibility.v1}"
WINDOWS_10 = "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"


def project_version():
    text = (ROOT / "CMakeLists.txt").read_text()
    return re.search(r"project\(Bricketing VERSION ([0-9.]+)", text).group(1)


def four_numbers(version):
    numbers = [int(part) for part in version.split(".")]
    return tuple(numbers + [0] * (4 - len(numbers)))


def runtime_files():
    """Every file the packages ship beside the exe, as the zip names it below its top
    folder, with its contents: the repository's Data, Resources and Help, less the
    marker of installed copies and a save's leftovers, with the committed settings;
    the licences; and the report page's chart library."""
    files = {path.relative_to(ROOT).as_posix(): path.read_bytes()
             for folder in ("Data", "Resources", "Help")
             for path in (ROOT / folder).rglob("*") if path.is_file()}
    for name in ("installed.txt",) + LEFTOVERS:
        files.pop(f"Data/{name}", None)
    files["Data/settings.txt"] = committed_settings()
    # The licences beside the program, with Windows' line ends.
    for shipped, source in (("LICENSE.txt", "LICENSE"), ("LICENSE-ART.txt", "LICENSE-ART")):
        files[shipped] = (ROOT / source).read_bytes().replace(b"\n", b"\r\n")
    # Debian's Chart.js for the record's report page, with its licence.
    chart = Path("/usr/share/javascript/chart.js/chart.min.js")
    files["report/chart.min.js"] = chart.read_bytes()
    licence = Path("/usr/share/doc/libjs-chart.js/copyright").read_bytes()
    files["report/chart.js-LICENSE.txt"] = licence.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
    # The source of this version, the same bytes from the same commit.
    with tempfile.TemporaryDirectory() as folder:
        made = subprocess.run([str(ROOT / "scripts" / "package-source"), "--output", folder],
                              check=True, capture_output=True, text=True).stdout.strip()
        files[Path(made).name] = Path(made).read_bytes()
    return files


def installer_files(setup, folder):
    """The files the installer puts into its folder, unpacked by 7z, with contents:
    everything but NSIS's own plug-ins and the uninstaller it writes."""
    subprocess.run(["7z", "x", "-y", f"-o{folder}", str(setup)], check=True,
                   stdout=subprocess.DEVNULL)
    return {path.relative_to(folder).as_posix(): path.read_bytes()
            for path in Path(folder).rglob("*")
            if path.is_file() and not path.relative_to(folder).as_posix().startswith(
                ("$PLUGINSDIR/", "Uninstall.exe"))}


def zip_files(zip_file, version):
    """The zip's files below its one top folder, with contents."""
    top = f"Bricketing-{version}/"
    with zipfile.ZipFile(zip_file) as archive:
        infos = [info for info in archive.infolist() if not info.is_dir()]
        if not all(info.filename.startswith(top) for info in infos):
            raise AssertionError(f"the zip has files outside {top}")
        return {info.filename[len(top):]: archive.read(info) for info in infos}


class ProgramTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.exe = pe.Executable(EXE)
        cls.resources = cls.exe.resources()

    def test_is_a_64_bit_windows_gui_program(self):
        self.assertEqual(self.exe.machine, pe.MACHINE_AMD64)
        self.assertTrue(self.exe.is_64_bit)
        self.assertEqual(self.exe.subsystem, pe.SUBSYSTEM_WINDOWS_GUI)

    def test_needs_no_dll_beyond_windows_own(self):
        dlls = self.exe.imported_dlls()
        self.assertIn("gdiplus.dll", dlls)
        foreign = [name for name in dlls if not (WINE_SYSTEM_DLLS / name).exists()
                   and not name.startswith("api-ms-win-")]
        self.assertEqual(foreign, [], "DLLs that Windows does not bring")

    def test_icon_group_114_holds_the_four_sizes(self):
        sizes = pe.icon_sizes(self.resources, 114)
        self.assertEqual(sorted(width for width, _, _ in sizes), [16, 32, 48, 256])
        for width, height, bits in sizes:
            self.assertEqual((height, bits), (width, 32), f"the {width} px icon")

    def test_about_picture_is_bitmap_118(self):
        self.assertEqual(pe.bitmap_size(self.resources, 118), (400, 173, 24))

    def test_version_information_is_the_projects(self):
        version = project_version()
        numbers, strings = pe.version_info(self.resources)
        self.assertEqual(numbers, four_numbers(version))
        for key, value in (("ProductName", "Bricketing"), ("ProductVersion", version),
                           ("FileVersion", version), ("OriginalFilename", "bricketing.exe")):
            self.assertEqual(strings.get(key), value, key)
        self.assertIn("GPL-3.0-or-later", strings.get("LegalCopyright", ""))
        self.assertIn("CC-BY-SA-4.0", strings.get("LegalCopyright", ""))

    def test_manifest_asks_for_common_controls_6_dpi_awareness_and_no_elevation(self):
        root = pe.manifest(self.resources)
        controls = [identity.attrib for identity in root.iter(ASM_V1 + "assemblyIdentity")
                    if identity.get("name") == "Microsoft.Windows.Common-Controls"]
        self.assertEqual([c["version"] for c in controls], ["6.0.0.0"])
        levels = [e.get("level") for e in root.iter(ASM_V3 + "requestedExecutionLevel")]
        self.assertEqual(levels, ["asInvoker"])
        settings = {e.tag.split("}")[1]: e.text.strip() for e in root.iter()
                    if e.tag.endswith(("}dpiAware", "}dpiAwareness"))}
        self.assertEqual(settings["dpiAware"].lower(), "true/pm")
        self.assertEqual(settings["dpiAwareness"].split(",")[0], "PerMonitorV2")
        systems = [e.get("Id") for e in root.iter(COMPATIBILITY + "supportedOS")]
        self.assertIn(WINDOWS_10, systems)


class PackagesTest(unittest.TestCase):
    dist = DIST

    def setUp(self):
        self.version = project_version()

    def test_zip_holds_exactly_the_portable_program(self):
        names = zip_files(self.dist / f"Bricketing-{self.version}-win64.zip", self.version)
        expected = runtime_files()
        self.assertEqual(sorted(names), sorted(list(expected) + ["bricketing.exe"]))
        for name, data in expected.items():
            self.assertEqual(names[name], data, name)
        # The marker would make every unpacked copy an installed one.
        self.assertNotIn("Data/installed.txt", names)
        self.assertEqual(names["Data/settings.txt"], committed_settings())

    def test_zip_holds_the_built_program_stripped(self):
        names = zip_files(self.dist / f"Bricketing-{self.version}-win64.zip", self.version)
        with tempfile.NamedTemporaryFile(suffix=".exe") as copy:
            copy.write(names["bricketing.exe"])
            copy.flush()
            shipped = pe.Executable(copy.name)
        built = pe.Executable(EXE)
        self.assertEqual(shipped.symbol_table, 0, "the shipped exe has a symbol table")
        self.assertEqual([name for name in shipped.section_names()
                          if name.startswith((".debug", "/"))], [])
        self.assertLess(len(shipped.data), len(built.data) * 2 // 3)
        # The same program: its code, constants and resources are the build's.
        for section in (".text", ".rdata", ".rsrc"):
            self.assertEqual(shipped.section_data(section), built.section_data(section), section)

    def test_installer_installs_the_zips_files(self):
        zipped = zip_files(self.dist / f"Bricketing-{self.version}-win64.zip", self.version)
        with tempfile.TemporaryDirectory() as folder:
            installed = installer_files(self.dist / f"Bricketing-{self.version}-setup.exe",
                                        folder)
        self.assertEqual(sorted(installed), sorted(zipped))
        for name, data in zipped.items():
            self.assertEqual(installed[name], data, name)
        self.assertEqual(installed["Data/settings.txt"], committed_settings())

    def test_installer_is_a_64_bit_program_of_this_version(self):
        setup = pe.Executable(self.dist / f"Bricketing-{self.version}-setup.exe")
        self.assertEqual(setup.machine, pe.MACHINE_AMD64)
        self.assertEqual(setup.subsystem, pe.SUBSYSTEM_WINDOWS_GUI)
        numbers, strings = pe.version_info(setup.resources())
        self.assertEqual(numbers, four_numbers(self.version))
        self.assertEqual(strings.get("ProductVersion"), self.version)
        self.assertEqual(strings.get("ProductName"), "Bricketing")


@unittest.skipUnless(is_git_checkout(), "the committed settings need the git history")
class AfterATryoutTest(PackagesTest):
    """The package checks again, on packages that scripts/package-windows --no-build
    makes while the working tree's Data holds a tryout's settings and leftovers; the
    working tree is put back as it was before the checks run."""

    @classmethod
    def setUpClass(cls):
        cls.work = Path(tempfile.mkdtemp(prefix="bricketing-tryout-packages-"))
        cls.dist = cls.work / "dist"
        with tried_out():
            subprocess.run([str(ROOT / "scripts" / "package-windows"), "--no-build",
                            "--dist", str(cls.dist)], check=True, stdout=subprocess.DEVNULL)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work, ignore_errors=True)


if __name__ == "__main__":
    unittest.main()
