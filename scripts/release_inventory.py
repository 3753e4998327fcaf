"""What goes into the release besides our own code: the toolchain files that the programs' link
maps name, the Debian packages they come from with the versions the package database holds,
their notices, and the SPDX 2.3 bill of materials that records it all."""
import hashlib
import json
import os
import re
import shutil
import subprocess
import time
import urllib.parse
import uuid

# The sections of a GNU ld map that follow the archive members the link took.
MAP_SECTIONS_AFTER_MEMBERS = ("Discarded input sections", "Allocating common symbols",
                              "Memory Configuration", "Linker script and memory map")
SPDX_SUPPLIER = "Organization: Calculate Checksums developers"
SPDX_NAMESPACE_ROOT = "https://spdx.org/spdxdocs/"


def linked_toolchain_files(map_path):
    """Paths of the toolchain's object files and archives that the link took code from. Our own
    libraries are named relative to the build folder; the toolchain's files are absolute."""
    linked = set()
    in_members = False
    with open(map_path, encoding="utf-8", errors="replace") as link_map:
        for line in link_map:
            if line.startswith("Archive member included"):
                in_members = True
            elif line.startswith(MAP_SECTIONS_AFTER_MEMBERS):
                in_members = False
            elif in_members and line[:1] not in ("", " ", "\t", "\n") and "(" in line:
                linked.add(line.split("(", 1)[0])  # archive(member)
            elif line.startswith("LOAD ") and line.rstrip().endswith(".o"):
                linked.add(line[len("LOAD "):].strip())
    return sorted(os.path.normpath(path) for path in linked if os.path.isabs(path))


def owning_package(path):
    result = subprocess.run(["dpkg-query", "-S", path], capture_output=True, text=True)
    if result.returncode != 0:
        raise SystemExit("release: no installed package holds %s" % path)
    return result.stdout.split(":", 1)[0]


def package_facts(package):
    fields = ["${Version}", "${Architecture}", "${binary:Summary}"]
    result = subprocess.run(["dpkg-query", "-W", "-f=" + "\t".join(fields), package],
                            capture_output=True, text=True, check=True)
    version, architecture, summary = result.stdout.split("\t")
    return {"name": package, "version": version, "architecture": architecture,
            "summary": summary.strip(), "copyright": "/usr/share/doc/%s/copyright" % package}


def build_tools(tools):
    """The compiler proper, the assembler, the linker, the resource compiler and objcopy: the
    programs the release passed through, found the way the compiler driver finds them."""
    driver = tools["compiler"]
    found = [driver, tools["rc"], tools["objcopy"]]
    for program in ("cc1plus", "as", "ld"):
        result = subprocess.run([driver, "-print-prog-name=" + program],
                                capture_output=True, text=True, check=True)
        found.append(result.stdout.strip())
    return [os.path.realpath(shutil.which(path) or path) for path in found]


class Inventory:
    """The packages that went into each program (linked in) or built them, and those that made
    the setup program (installer_tools: paths of their files)."""

    def __init__(self, tools, link_maps, installer_tools):
        self.linked = {}  # program -> {package: [file names]}
        for program, link_map in link_maps.items():
            by_package = self.linked.setdefault(program, {})
            for path in linked_toolchain_files(link_map):
                by_package.setdefault(owning_package(path), []).append(os.path.basename(path))
            # The authors' code of BLAKE3 and XXH3, compiled from its installed sources into the
            # engine that every program carries.
            for path in tools.get("compiled_in", []):
                by_package.setdefault(owning_package(path), []).append(os.path.basename(path))
        self.builders = sorted({owning_package(path) for path in build_tools(tools)})
        self.installer_builders = sorted({owning_package(path) for path in installer_tools})
        names = set(self.builders) | set(self.installer_builders)
        for by_package in self.linked.values():
            names.update(by_package)
        self.packages = {name: package_facts(name) for name in sorted(names)}

    def linked_packages(self):
        """Each linked package with the files taken from it, over all programs."""
        files = {}
        for by_package in self.linked.values():
            for package, names in by_package.items():
                files.setdefault(package, set()).update(names)
        return {package: sorted(names) for package, names in sorted(files.items())}


def notices_text(version, programs, inventory, setup_parts):
    """setup_parts: {package: [files]} of the tool's own code that the setup program carries."""
    linked = inventory.linked_packages()
    lines = ["Third-party notices for Calculate Checksums %s" % version, "",
             "%s are linked statically with parts of the toolchain that built them," %
             " and ".join(programs),
             "and the setup program is made of the setup tool's own stub and pages. These parts,",
             "the Debian packages they come from and those packages' copyright files follow.", ""]
    for package, files in {**linked, **setup_parts}.items():
        facts = inventory.packages[package]
        lines.append("%s %s (%s):" % (package, facts["version"], facts["summary"]))
        lines.append("  " + ", ".join(files))
    lines.append("")
    # Packages of one source share a copyright file: each text comes once.
    shown = {}
    for package in list(linked) + list(setup_parts):
        path = inventory.packages[package]["copyright"]
        shown.setdefault(os.path.realpath(path), []).append(package)
    for real_path, packages in shown.items():
        lines += ["=" * 100, "Copyright file of %s" % ", ".join(packages), "=" * 100, ""]
        with open(real_path, encoding="utf-8") as text:
            lines.append(text.read().rstrip("\n"))
        lines.append("")
    return "\n".join(lines) + "\n"


def spdx_id(kind, name):
    # Identifiers allow letters, digits, "." and "-" only.
    return "SPDXRef-%s-%s" % (kind, re.sub(r"[^A-Za-z0-9.-]", "-", name.replace("+", "plus")))


def purl(facts):
    quoted = [urllib.parse.quote(facts[key], safe="") for key in ("name", "version")]
    return "pkg:deb/debian/%s@%s?arch=%s" % (*quoted, facts["architecture"])


def shipped_package(name, version, digest, copyright_line, commit, purpose):
    package = {
        "SPDXID": spdx_id("Program", name), "name": name, "versionInfo": version,
        "packageFileName": name, "supplier": SPDX_SUPPLIER,
        "downloadLocation": "NOASSERTION", "filesAnalyzed": False,
        "checksums": [{"algorithm": "SHA256", "checksumValue": digest}],
        "licenseConcluded": "NOASSERTION", "licenseDeclared": "MIT",
        "copyrightText": copyright_line, "primaryPackagePurpose": purpose}
    if commit:
        package["sourceInfo"] = "built from commit %s" % commit
    return package


def built_by(packages, name):
    return [{"spdxElementId": spdx_id("Package", package), "relationshipType": "BUILD_TOOL_OF",
             "relatedSpdxElement": spdx_id("Program", name)} for package in packages]


def spdx_document(version, programs, inventory, epoch, copyright_line, commit, installers):
    """programs and installers: file name -> path of the shipped file; copyright_line: our
    LICENSE's; commit: the one built from, or None when unknown. Each installer contains every
    program."""
    digests = {}
    for name, path in {**programs, **installers}.items():
        with open(path, "rb") as shipped:
            digests[name] = hashlib.sha256(shipped.read()).hexdigest()
    document_name = "calculate-checksums-%s-win64" % version
    # The same programs give the same document, wherever and whenever it is made.
    unique = uuid.uuid5(uuid.NAMESPACE_URL, document_name + "".join(sorted(digests.values())))
    packages, relationships = [], []
    for name in list(programs) + list(installers):
        packages.append(shipped_package(name, version, digests[name], copyright_line, commit,
                                        "APPLICATION" if name in programs else "INSTALL"))
        relationships.append({"spdxElementId": "SPDXRef-DOCUMENT", "relationshipType": "DESCRIBES",
                              "relatedSpdxElement": spdx_id("Program", name)})
    for name in programs:
        for package in sorted(inventory.linked.get(name, {})):
            relationships.append({"spdxElementId": spdx_id("Program", name),
                                  "relationshipType": "STATIC_LINK",
                                  "relatedSpdxElement": spdx_id("Package", package)})
        relationships += built_by(inventory.builders, name)
    for name in installers:
        for contained in programs:
            relationships.append({"spdxElementId": spdx_id("Program", name),
                                  "relationshipType": "CONTAINS",
                                  "relatedSpdxElement": spdx_id("Program", contained)})
        relationships += built_by(inventory.installer_builders, name)
    for facts in inventory.packages.values():
        packages.append({
            "SPDXID": spdx_id("Package", facts["name"]), "name": facts["name"],
            "versionInfo": facts["version"], "supplier": "Organization: Debian",
            "downloadLocation": "NOASSERTION", "filesAnalyzed": False,
            "licenseConcluded": "NOASSERTION", "licenseDeclared": "NOASSERTION",
            "copyrightText": "NOASSERTION", "summary": facts["summary"],
            "externalRefs": [{"referenceCategory": "PACKAGE-MANAGER", "referenceType": "purl",
                              "referenceLocator": purl(facts)}]})
    document = {
        "spdxVersion": "SPDX-2.3", "dataLicense": "CC0-1.0", "SPDXID": "SPDXRef-DOCUMENT",
        "name": document_name,
        "documentNamespace": "%s%s-%s" % (SPDX_NAMESPACE_ROOT, document_name, unique),
        "creationInfo": {"created": time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime(epoch)),
                         "creators": ["Tool: make-dist.py", SPDX_SUPPLIER]},
        "packages": packages, "relationships": relationships}
    return json.dumps(document, indent=2) + "\n"
