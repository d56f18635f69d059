"""Compares two builds of one commit: two folders of .deb files (deb) or two web sites
(web). Prints each difference, the files inside a package included, and exits 1 on any;
also checks what a release must hold whatever it is built from: the source archive, the
teacher's files as configuration, and a web help that sends no teacher into the packed
data."""

import io
import gzip
import re
import subprocess
import sys
import tarfile
from pathlib import Path


def tree(folder):
    """Every file under folder: its bytes and its time, by relative path."""
    return {path.relative_to(folder).as_posix(): (path.read_bytes(), int(path.lstat().st_mtime))
            for path in sorted(Path(folder).rglob("*")) if path.is_file()}


def deb_members(deb):
    """The package's control and data archives' members: name, mode, owner, time, bytes."""
    members = {}
    for part in ("--ctrl-tarfile", "--fsys-tarfile"):
        raw = subprocess.run(["dpkg-deb", part, str(deb)], check=True,
                             capture_output=True).stdout
        with tarfile.open(fileobj=io.BytesIO(raw)) as archive:
            for member in archive.getmembers():
                data = archive.extractfile(member).read() if member.isfile() else b""
                members[f"{part[2:6]}:{member.name}"] = (
                    member.mode, member.uid, member.gid, member.mtime, data)
    return members


def differences(first, second, what):
    found = []
    for name in sorted(set(first) | set(second)):
        if name not in first or name not in second:
            found.append(f"{what} {name}: only in the {'second' if name in second else 'first'}")
        elif first[name] != second[name]:
            found.append(f"{what} {name}: differs")
    return found


def check_deb(first_folder, second_folder):
    found = []
    firsts = sorted(Path(first_folder).glob("*.deb"))
    seconds = sorted(Path(second_folder).glob("*.deb"))
    if len(firsts) != 1 or len(seconds) != 1:
        return [f"expected one package in each build, found {len(firsts)} and {len(seconds)}"]
    first, second = firsts[0], seconds[0]
    members = deb_members(first)
    if first.read_bytes() != second.read_bytes():
        found.append(f"{first.name}: the two builds differ")
        found += differences(members, deb_members(second), "  in the package,")
    # What every build must hold.
    names = {name.split(":", 1)[1] for name in members}
    if not any(re.fullmatch(r"\./usr/share/doc/bricketing/bricketing-[\d.]+\.tar\.gz", n)
               for n in names):
        found.append("the package does not carry its source archive")
    conffiles = members.get("ctrl:./conffiles", (0, 0, 0, 0, b""))[4].decode().split()
    for teacher_file in ("/etc/bricketing/levels.txt", "/etc/bricketing/settings.txt"):
        if teacher_file not in conffiles or "." + teacher_file not in names:
            found.append(f"{teacher_file} is not shipped as a configuration file")
    return found


def check_web(first_folder, second_folder):
    first, second = tree(first_folder), tree(second_folder)
    found = differences(first, second, "site file")
    help_page = first.get("Help/help.html", (b"", 0))[0].decode("utf-8", "replace")
    # (The table of levels may still name level_curve's argument, which is about the
    # source, not the page.)
    for told in ("The levels file: Data/levels.txt", "When <code>Data/levels.txt</code>",
                 "Data/settings.txt", "plain text editor"):
        if told in help_page:
            found.append(f"the web help still speaks of {told!r}, inside the packed data")
    # The translated pages travel gzipped; the files they name are the same in every
    # language.
    for name in sorted(n for n in first if re.fullmatch(r"Help/help\.[A-Za-z_]+\.html\.gz", n)):
        page = gzip.decompress(first[name][0]).decode("utf-8", "replace")
        if "Data/settings.txt" in page or 'class="web-only" hidden' in page:
            found.append(f"{name} is not the web's page (a desktop part kept, or its web part hidden)")
    if not any(re.fullmatch(r"source/bricketing-[\d.]+\.tar\.gz", name) for name in first):
        found.append("the site does not serve its source archive")
    index = first.get("index.html", (b"", 0))[0].decode()
    if not re.search(r'href="source/bricketing-[\d.]+\.tar\.gz"', index):
        found.append("the page's footer does not link to the source archive")
    return found


def main():
    kind, first, second = sys.argv[1:4]
    found = check_deb(first, second) if kind == "deb" else check_web(first, second)
    for line in found:
        print(line, file=sys.stderr)
    print(f"{kind}: {'the two builds are identical' if not found else 'FAILED'}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
