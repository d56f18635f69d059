"""Checks the built Windows program and its two packages without running them: the exe
is a 64-bit GUI program that needs only Windows' own DLLs and carries its icon, About
picture, version and manifest; the zip holds exactly the portable program; the
installer is a 64-bit program of the same version.

The files checked are build-windows/bricketing.exe and dist/ under the repository, or
those named by BRICKETING_WINDOWS_EXE and BRICKETING_DIST."""

import os
import re
import unittest
import zipfile
from pathlib import Path

import pe

ROOT = Path(__file__).resolve().parents[2]
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
    """Every run-time file of the repository, as the zip names it below its top folder."""
    return {path.relative_to(ROOT).as_posix(): path
            for folder in ("Data", "Resources", "Help")
            for path in (ROOT / folder).rglob("*") if path.is_file()}


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
    def setUp(self):
        self.version = project_version()

    def test_zip_holds_exactly_the_portable_program(self):
        top = f"Bricketing-{self.version}/"
        with zipfile.ZipFile(DIST / f"Bricketing-{self.version}-win64.zip") as archive:
            names = {info.filename[len(top):]: info for info in archive.infolist()
                     if not info.is_dir()}
            self.assertTrue(all(info.filename.startswith(top) for info in archive.infolist()))
            expected = runtime_files()
            expected.pop("Data/installed.txt", None)
            self.assertEqual(sorted(names), sorted(list(expected) + ["bricketing.exe"]))
            self.assertEqual(archive.read(top + "bricketing.exe"), EXE.read_bytes())
            for name, path in expected.items():
                self.assertEqual(archive.read(top + name), path.read_bytes(), name)
        # The marker would make every unpacked copy an installed one.
        self.assertNotIn("Data/installed.txt", names)

    def test_installer_is_a_64_bit_program_of_this_version(self):
        setup = pe.Executable(DIST / f"Bricketing-{self.version}-setup.exe")
        self.assertEqual(setup.machine, pe.MACHINE_AMD64)
        self.assertEqual(setup.subsystem, pe.SUBSYSTEM_WINDOWS_GUI)
        numbers, strings = pe.version_info(setup.resources())
        self.assertEqual(numbers, four_numbers(self.version))
        self.assertEqual(strings.get("ProductVersion"), self.version)
        self.assertEqual(strings.get("ProductName"), "Bricketing")


if __name__ == "__main__":
    unittest.main()
