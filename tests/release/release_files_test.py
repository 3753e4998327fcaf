#!/usr/bin/env python3
"""The release's files as make-dist.py packs them, checked before any archive is written: their
sums (coreutils' sha256sum and our own checksums-cli.exe under Wine), stripped programs whose
debug links reach their debug files, PE headers and manifests that claim the Windows the imports
need, the notices of the linked toolchain libraries, the user's guide, the bill of materials, the
setup program and the version.

Usage: release_files_test.py VERSION FOLDER DEBUG_FOLDER INSTALLER WIN64_BUILD_DIR EMULATOR
"""
import hashlib
import json
import os
import re
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(
    os.path.abspath(__file__)))), "scripts"))
import release_installer  # noqa: E402

VERSION, FOLDER, DEBUG_FOLDER, INSTALLER, BUILD_DIR, EMULATOR = sys.argv[1:7]
PROGRAMS = ["checksums.exe", "checksums-cli.exe", "checksums-verify.exe"]
SUMS = "SHA256SUMS"
FIXED_FILE_INFO_SIGNATURE = struct.pack("<I", 0xFEEF04BD)
with open(os.path.join(BUILD_DIR, "release-tools.json"), encoding="utf-8") as tools_file:
    TOOLS = json.load(tools_file)

# Windows versions, and the imports that need more than the oldest 64-bit Windows (XP x64, 5.2),
# each with the first Windows that has it ("Minimum supported client" in the Win32
# documentation). Any other import of these DLLs has been there since 5.2.
XP_X64, VISTA, SEVEN, EIGHT, EIGHT_ONE, TEN = (5, 2), (6, 0), (6, 1), (6, 2), (6, 3), (10, 0)
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "comdlg32.dll",
               "ole32.dll", "oleaut32.dll", "shell32.dll", "shlwapi.dll", "advapi32.dll",
               "version.dll", "msvcrt.dll"}
NEWER_IMPORTS = {
    "AcquireSRWLockExclusive": VISTA, "AcquireSRWLockShared": VISTA, "InitializeSRWLock": VISTA,
    "ReleaseSRWLockExclusive": VISTA, "ReleaseSRWLockShared": VISTA,
    "InitializeConditionVariable": VISTA, "SleepConditionVariableCS": VISTA,
    "SleepConditionVariableSRW": VISTA, "WakeConditionVariable": VISTA,
    "WakeAllConditionVariable": VISTA, "InitOnceExecuteOnce": VISTA, "GetTickCount64": VISTA,
    "GetFileInformationByHandleEx": VISTA, "SetFileInformationByHandle": VISTA,
    "GetFinalPathNameByHandleW": VISTA, "CancelIoEx": VISTA, "CreateSymbolicLinkW": VISTA,
    "TryAcquireSRWLockExclusive": SEVEN, "TryAcquireSRWLockShared": SEVEN,
    "GetSystemTimePreciseAsFileTime": EIGHT, "CreateFile2": EIGHT, "WaitOnAddress": EIGHT,
    "WakeByAddressSingle": EIGHT, "WakeByAddressAll": EIGHT,
    "SetThreadDescription": TEN, "GetDpiForWindow": TEN, "SetProcessDpiAwarenessContext": TEN,
}
# The manifest's names of the Windows versions from Vista on.
SUPPORTED_OS = {"e2011457-1546-43c5-a5fe-008deee3d3f0": VISTA,
                "35138b9a-5d96-4fbd-8e2d-a2440225f93a": SEVEN,
                "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38": EIGHT,
                "1f676c76-80e1-4239-95bb-83d0f6d0da78": EIGHT_ONE,
                "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a": TEN}
# The toolchain libraries the programs link, with the component each one is.
LINKED_RUNTIME = {"libpthread.a": "winpthreads", "libmingwex.a": "MinGW-w64 runtime",
                  "libgcc.a": "GCC runtime", "libstdc++.a": "GCC's C++ library"}
TOOLCHAIN_PACKAGES = ["g++-mingw-w64-x86-64-posix", "gcc-mingw-w64-x86-64-posix",
                      "mingw-w64-x86-64-dev", "binutils-mingw-w64-x86-64"]
INSTALLER_PACKAGES = ["nsis", "nsis-common"]


def shipped(name):
    return os.path.join(FOLDER, name)


def output(*command, **options):
    return subprocess.run(command, capture_output=True, text=True, check=True,
                          **options).stdout


def pe_facts(program):
    """(claimed OS version, claimed subsystem version, {dll: [imports]})."""
    text = output(TOOLS["objdump"], "-p", program)
    field = {name: int(value) for name, value in
             re.findall(r"^((?:Major|Minor)(?:OSystem|Subsystem)Version)\t(\d+)$", text, re.M)}
    imports, dll = {}, None
    for line in text.splitlines():
        if line.startswith("\tDLL Name: "):
            dll = imports.setdefault(line.split(": ", 1)[1].lower(), [])
        elif dll is not None and re.match(r"^\t[0-9a-f]+\t\s*\d+\s+\S+$", line):
            dll.append(line.split()[-1])
        elif not line.strip():
            dll = None
    return ((field["MajorOSystemVersion"], field["MinorOSystemVersion"]),
            (field["MajorSubsystemVersion"], field["MinorSubsystemVersion"]), imports)


def manifest(program):
    with open(program, "rb") as image:
        data = image.read()
    start = data.find(b"<assembly")
    return data[start:data.find(b"</assembly>", start)].decode("utf-8")


class ReleaseFiles(unittest.TestCase):
    def test_folder_holds_programs_documents_notices_bill_and_sums_covering_all(self):
        bill = "calculate-checksums-%s.spdx.json" % VERSION
        expected = sorted(PROGRAMS + ["README.txt", "LICENSE", "THIRD-PARTY-NOTICES", bill])
        self.assertEqual(sorted(os.listdir(FOLDER)), sorted(expected + [SUMS]))
        with open(shipped(SUMS), encoding="utf-8") as sums:
            self.assertEqual(sorted(line.split()[-1] for line in sums), expected)
        report = "".join(name + ": OK\n" for name in expected)
        for command in (["sha256sum"], [EMULATOR, shipped("checksums-cli.exe"), "-a", "sha256"]):
            result = subprocess.run([*command, "-c", SUMS], cwd=FOLDER, capture_output=True,
                                    timeout=120)
            checked = "".join(sorted(result.stdout.decode("utf-8").replace("\r\n", "\n")
                                     .splitlines(True)))
            self.assertEqual((result.returncode, checked), (0, report), command[-1])

    def test_programs_are_stripped_and_linked_to_their_debug_files(self):
        with tempfile.TemporaryDirectory() as scratch:
            for program in PROGRAMS:
                sections = output(TOOLS["objdump"], "-h", shipped(program))
                self.assertNotIn(".debug_", sections, program)
                self.assertIn("no symbols", subprocess.run(
                    [TOOLS["nm"], shipped(program)], capture_output=True, text=True).stderr)
                link = os.path.join(scratch, program + ".link")
                subprocess.run([TOOLS["objcopy"], "--dump-section", ".gnu_debuglink=" + link,
                                shipped(program), os.path.join(scratch, "copy")], check=True)
                with open(link, "rb") as section:
                    data = section.read()
                name = data[:data.index(b"\0")].decode()
                self.assertEqual(name, program + ".debug")
                with open(os.path.join(DEBUG_FOLDER, name), "rb") as debug:
                    crc = zlib.crc32(debug.read())
                self.assertEqual(struct.unpack("<I", data[-4:])[0], crc, program)

    def test_an_address_in_compute_file_digest_resolves_through_the_debug_file(self):
        built = os.path.join(BUILD_DIR, "checksums.exe")
        symbols = output(TOOLS["nm"], "-C", built)
        address = int(re.search(r"^([0-9a-f]+) T ComputeFileDigest\(", symbols, re.M).group(1), 16)
        with tempfile.TemporaryDirectory() as scratch:
            texts = []
            for image in (built, shipped("checksums.exe")):
                texts.append(os.path.join(scratch, "text%d" % len(texts)))
                subprocess.run([TOOLS["objcopy"], "-O", "binary", "--only-section=.text", image,
                                texts[-1]], check=True)
            with open(texts[0], "rb") as a, open(texts[1], "rb") as b:
                self.assertEqual(a.read(), b.read(), "the shipped code is not the built code")
            # The shipped program alone knows no names; with its debug file beside it, it does.
            program = os.path.join(scratch, "checksums.exe")
            os.symlink(shipped("checksums.exe"), program)

            def name_at(where):
                return output(TOOLS["addr2line"], "-f", "-C", "-e", program, hex(where))
            self.assertTrue(name_at(address + 1).startswith("??"))
            os.symlink(os.path.join(DEBUG_FOLDER, "checksums.exe.debug"),
                       os.path.join(scratch, "checksums.exe.debug"))
            self.assertTrue(name_at(address + 1).startswith("ComputeFileDigest("),
                            name_at(address + 1))

    def test_no_file_names_the_folder_it_was_built_in(self):
        source = os.path.dirname(os.path.dirname(os.path.abspath(BUILD_DIR))).encode()
        paths = [os.path.join(folder, name) for folder in (FOLDER, DEBUG_FOLDER)
                 for name in os.listdir(folder)]
        for path in paths + [INSTALLER]:
            with open(path, "rb") as release_file:
                self.assertNotIn(source, release_file.read(), path)
        # The setup program's files are compressed: they are read unpacked.
        with tempfile.TemporaryDirectory() as scratch:
            self.assertEqual(release_installer.files_naming(INSTALLER, source, scratch), [])

    def test_headers_and_manifests_claim_the_oldest_windows_the_imports_need(self):
        needed, claims = XP_X64, set()
        for program in PROGRAMS:
            system, subsystem, imports = pe_facts(shipped(program))
            self.assertEqual(system, subsystem, program)
            claims.add(system)
            self.assertLessEqual(set(imports), SYSTEM_DLLS, program)
            for names in imports.values():
                newest = max([XP_X64] + [NEWER_IMPORTS.get(name, XP_X64) for name in names])
                self.assertLessEqual(newest, system, program)
                needed = max(needed, newest)
            text = manifest(shipped(program))
            listed = sorted(SUPPORTED_OS[guid] for guid in
                            re.findall(r'<supportedOS Id="\{([0-9a-f-]+)\}"', text))
            self.assertEqual(listed, sorted(v for v in SUPPORTED_OS.values() if v >= system))
            self.assertIn('level="asInvoker"', text, program)
            self.assertRegex(text, r"<longPathAware[^>]*>true</longPathAware>", program)
        self.assertEqual(claims, {needed})

    def test_notices_hold_the_copyright_files_of_the_linked_runtime(self):
        with open(shipped("THIRD-PARTY-NOTICES"), encoding="utf-8") as notices:
            text = notices.read()
        with open(os.path.join(BUILD_DIR, "checksums.exe.map"), encoding="utf-8") as link_map:
            linked = link_map.read()
        for library, component in LINKED_RUNTIME.items():
            path = os.path.realpath(output(TOOLS["compiler"], "-print-file-name=" + library)
                                    .strip())
            self.assertIn("/" + library + "(", linked, component)
            package = output("dpkg-query", "-S", path).split(":")[0]
            with open("/usr/share/doc/%s/copyright" % package, encoding="utf-8") as copyright:
                self.assertIn(copyright.read().rstrip("\n"), text, component)
            self.assertIn(output("dpkg-query", "-W", "-f=${Version}", package), text, component)
        # BLAKE3's and XXH3's code is compiled in from its authors' installed sources.
        for source in TOOLS["compiled_in"]:
            package = output("dpkg-query", "-S", source).split(":")[0]
            with open("/usr/share/doc/%s/copyright" % package, encoding="utf-8") as copyright:
                self.assertIn(copyright.read().rstrip("\n"), text, source)
        # The setup program carries the stub of the setup tool.
        with open("/usr/share/doc/nsis-common/copyright", encoding="utf-8") as copyright:
            self.assertIn(copyright.read().rstrip("\n"), text)

    def test_bill_of_materials_names_the_programs_and_the_toolchain_exactly(self):
        with open(shipped("calculate-checksums-%s.spdx.json" % VERSION), encoding="utf-8") as bill:
            document = json.load(bill)
        self.assertEqual((document["spdxVersion"], document["dataLicense"]), ("SPDX-2.3", "CC0-1.0"))
        packages = {package["name"]: package for package in document["packages"]}
        identifiers = [package["SPDXID"] for package in document["packages"]] + ["SPDXRef-DOCUMENT"]
        self.assertEqual(len(set(identifiers)), len(identifiers))
        described = set()
        for relationship in document["relationships"]:
            self.assertIn(relationship["spdxElementId"], identifiers)
            self.assertIn(relationship["relatedSpdxElement"], identifiers)
            if relationship["relationshipType"] == "DESCRIBES":
                described.add(relationship["relatedSpdxElement"])
        for program in PROGRAMS:
            with open(shipped(program), "rb") as image:
                digest = hashlib.sha256(image.read()).hexdigest()
            self.assertEqual(packages[program]["checksums"],
                             [{"algorithm": "SHA256", "checksumValue": digest}])
            self.assertIn(packages[program]["SPDXID"], described)
        for name in TOOLCHAIN_PACKAGES + INSTALLER_PACKAGES:
            self.assertEqual(packages[name]["versionInfo"],
                             output("dpkg-query", "-W", "-f=${Version}", name))
        with open(INSTALLER, "rb") as image:
            digest = hashlib.sha256(image.read()).hexdigest()
        setup = packages[os.path.basename(INSTALLER)]
        self.assertEqual(setup["checksums"], [{"algorithm": "SHA256", "checksumValue": digest}])
        self.assertIn(setup["SPDXID"], described)

    def test_setup_program_installs_for_the_user_without_elevation(self):
        text = manifest(INSTALLER)
        self.assertIn('level="asInvoker"', text)
        self.assertRegex(output(TOOLS["objdump"], "-f", INSTALLER), r"file format pei-x86-64")

    def test_users_guide_has_windows_line_ends_and_this_version(self):
        with open(shipped("README.txt"), "rb") as guide:
            text = guide.read()
        self.assertEqual(text.count(b"\n"), text.count(b"\r\n"))
        self.assertIn(("Calculate Checksums %s" % VERSION).encode(), text.splitlines()[0])

    def test_both_programs_and_the_setup_program_carry_the_project_version(self):
        for program in [shipped(name) for name in PROGRAMS] + [INSTALLER]:
            with open(program, "rb") as image:
                data = image.read()
            start = data.find(FIXED_FILE_INFO_SIGNATURE)
            _, _, most, least = struct.unpack_from("<4I", data, start)
            self.assertEqual("%d.%d.%d.%d" % (most >> 16, most & 0xFFFF, least >> 16,
                                              least & 0xFFFF), VERSION + ".0")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
