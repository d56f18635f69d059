"""Reads what the package tests ask of a Windows executable without running it: its
machine and subsystem, its sections and symbol table, the DLLs it imports and the resources stored in it (icon
groups, bitmaps, version information, the manifest)."""

import re
import struct
import xml.etree.ElementTree as ElementTree

MACHINE_AMD64 = 0x8664
SUBSYSTEM_WINDOWS_GUI = 2

RT_BITMAP = 2
RT_ICON = 3
RT_GROUP_ICON = 14
RT_VERSION = 16
RT_MANIFEST = 24

IMPORT_DIRECTORY = 1
RESOURCE_DIRECTORY = 2


class Executable:
    def __init__(self, path):
        with open(path, "rb") as stream:
            self.data = stream.read()
        if self.data[:2] != b"MZ":
            raise ValueError(f"{path} is not an executable")
        header = struct.unpack_from("<I", self.data, 0x3C)[0]
        if self.data[header:header + 4] != b"PE\0\0":
            raise ValueError(f"{path} has no PE header")
        coff = header + 4
        self.machine, section_count, _, self.symbol_table, symbol_count = struct.unpack_from(
            "<HHIII", self.data, coff)
        # Section names longer than eight letters (.debug_info and the like) stand in the
        # COFF string table after the symbols, named in the header as "/<offset>".
        strings = self.symbol_table + 18 * symbol_count
        optional_size = struct.unpack_from("<H", self.data, coff + 16)[0]
        optional = coff + 20
        magic = struct.unpack_from("<H", self.data, optional)[0]
        self.is_64_bit = magic == 0x20B
        self.subsystem = struct.unpack_from("<H", self.data, optional + 68)[0]
        directories = optional + (112 if self.is_64_bit else 96)
        self.directories = [struct.unpack_from("<II", self.data, directories + 8 * i)
                            for i in range(16)]
        sections = optional + optional_size
        self.sections = []
        for i in range(section_count):
            name, virtual_size, address, raw_size, raw_at = struct.unpack_from(
                "<8sIIII", self.data, sections + 40 * i)
            name = name.rstrip(b"\0").decode()
            if name.startswith("/") and self.symbol_table:
                at = strings + int(name[1:])
                name = self.data[at:self.data.index(b"\0", at)].decode()
            self.sections.append((name, address, max(virtual_size, raw_size), raw_at))

    def section_names(self):
        return [name for name, _, _, _ in self.sections]

    def section_data(self, name):
        """The bytes a section holds in the file."""
        for section, address, size, raw_at in self.sections:
            if section == name:
                return self.data[raw_at:raw_at + size]
        raise KeyError(name)

    def offset(self, rva):
        """The file offset of a relative virtual address."""
        for _, address, size, raw_at in self.sections:
            if address <= rva < address + size:
                return raw_at + rva - address
        raise ValueError(f"address {rva:#x} lies in no section")

    def c_string(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode("ascii")

    def imported_dlls(self):
        """Names of the DLLs the executable loads at start, in lower case."""
        rva, size = self.directories[IMPORT_DIRECTORY]
        names = []
        if not size:
            return names
        at = self.offset(rva)
        while True:
            descriptor = struct.unpack_from("<IIIII", self.data, at)
            if not any(descriptor):
                return names
            names.append(self.c_string(descriptor[3]).lower())
            at += 20

    def resources(self):
        """{(type, name): {language: bytes}} for every resource with a numeric type and
        name (strings stand as strings)."""
        rva, size = self.directories[RESOURCE_DIRECTORY]
        found = {}
        if not size:
            return found
        base = self.offset(rva)

        def entries(directory):
            named, numbered = struct.unpack_from("<HH", self.data, base + directory + 12)
            for i in range(named + numbered):
                name, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)
                if name & 0x80000000:
                    at = base + (name & 0x7FFFFFFF)
                    length = struct.unpack_from("<H", self.data, at)[0]
                    name = self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
                yield name, target

        for kind, kind_target in entries(0):
            for name, name_target in entries(kind_target & 0x7FFFFFFF):
                for language, data_at in entries(name_target & 0x7FFFFFFF):
                    data_rva, data_size = struct.unpack_from("<II", self.data, base + data_at)
                    start = self.offset(data_rva)
                    found.setdefault((kind, name), {})[language] = \
                        self.data[start:start + data_size]
        return found


def only(languages):
    """The one language version of a resource."""
    (data,) = languages.values()
    return data


def icon_sizes(resources, group):
    """(width, height, bits per pixel) of each image of an icon group, each checked to
    exist as an icon resource of its own."""
    data = only(resources[(RT_GROUP_ICON, group)])
    _, kind, count = struct.unpack_from("<HHH", data, 0)
    if kind != 1:
        raise ValueError(f"icon group {group} is not an icon group")
    sizes = []
    for i in range(count):
        width, height, _, _, _, bits, _, icon_id = struct.unpack_from("<BBBBHHIH", data,
                                                                      6 + 14 * i)
        if (RT_ICON, icon_id) not in resources:
            raise ValueError(f"icon group {group} names the missing icon {icon_id}")
        sizes.append((width or 256, height or 256, bits))
    return sizes


def bitmap_size(resources, name):
    """(width, height, bits per pixel) of a bitmap resource."""
    data = only(resources[(RT_BITMAP, name)])
    _, width, height, _, bits = struct.unpack_from("<IiiHH", data, 0)
    return width, abs(height), bits


def version_info(resources):
    """The fixed file version as four numbers and the string table as a dict."""
    data = only(resources[(RT_VERSION, 1)])
    fixed = data.index(struct.pack("<I", 0xFEEF04BD))
    ms, ls = struct.unpack_from("<II", data, fixed + 8)
    numbers = (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    text = data.decode("utf-16-le", errors="replace")
    # Each string is a small block: its key, then padding, then its value.
    strings = dict(re.findall(r"([A-Za-z]+)\0+([^\0]+)\0", text[text.index("StringFileInfo"):]))
    return numbers, strings


def manifest(resources):
    """The application manifest as an element tree."""
    return ElementTree.fromstring(only(resources[(RT_MANIFEST, 1)]))
