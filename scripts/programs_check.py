#!/usr/bin/python3
"""Fails when the scripts or the tests run a program whose Debian package they never install.

    programs_check.py PACKAGE...    the packages that the scripts install

A program counts as installed when the package that owns it is one of those named, one
that they depend on at any depth, or one that every Debian system has (essential,
required or important). A program that lies nowhere on this machine is passed over:
where a package was forgotten, the test that runs it fails on its own. So this check
speaks up on a machine where someone installed that package by hand, before a new
machine finds out. Prints each program it finds uncovered and exits 1; silent otherwise.

The programs are read, not run: the first word of each shell command in scripts/, .ci/
and tests/, with wrappers such as timeout, env or the suite's wait_until taken off; the
first string of the list handed to Python's subprocess; a CMake COMMAND; a program that
C++ tests start by name.
"""

import glob
import os
import re
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
NAME = re.compile(r"[A-Za-z_][\w.+-]*$")
# Where one shell command ends and the next may begin.
SHELL_BREAK = re.compile(
    r"\|\||&&|[|;&`\n]|\$\(|\(|\{\s|"
    r"\b(?:then|do|else|elif|if|while|until|time)\s|!\s"
)
ASSIGNMENT = re.compile(r"[A-Za-z_]\w*(?:\[[^]]*\])?=")
# Words that run the command after them, with how many arguments of their own they take
# first (the wrapper's options, which start with a dash, are taken off too).
WRAPPERS = {"exec": 0, "command": 0, "sudo": 0, "nohup": 0, "env": 0, "xargs": 0,
            "timeout": 1, "wait_until": 1, "check": 1}


def files(*patterns):
    found = set()
    for pattern in patterns:
        found.update(glob.glob(os.path.join(ROOT, pattern), recursive=True))
    return sorted(path for path in found if os.path.isfile(path))


def read(path):
    with open(path, encoding="utf-8", errors="replace") as file:
        return file.read()


def shell_code(text):
    """The text with what is never run taken out: comments, and quoted words (an awk
    program, a message) but for the commands they substitute."""
    code, i, quote = [], 0, None
    while i < len(text):
        char = text[i]
        if quote is None and char == "#" and (i == 0 or text[i - 1] in " \t\n;(|&"):
            i = text.find("\n", i)
            i = len(text) if i < 0 else i
            continue
        if quote is None and char in "'\"":
            quote = char
            code.append(char)
        elif quote == char:
            quote = None
            code.append(char)
        elif char == "\\" and quote != "'":
            i += 1
        elif quote is None or (quote == '"' and text.startswith("$(", i)):
            if quote == '"':
                # A command substituted inside double quotes runs as any other.
                depth, start = 0, i
                while i < len(text):
                    depth += {"(": 1, ")": -1}.get(text[i], 0)
                    if depth == 0 and text[i] == ")":
                        break
                    i += 1
                code.append(" " + shell_code(text[start:i + 1]) + " ")
            else:
                code.append(char)
        i += 1
    return "".join(code)


def first_program(tokens):
    """The first word of one command, past its assignments and wrappers."""
    while tokens:
        word = tokens.pop(0).strip("\"'")
        if not word or ASSIGNMENT.match(word):
            continue
        if word not in WRAPPERS:
            return word
        for _ in range(WRAPPERS[word]):
            while tokens and tokens[0].startswith("-"):
                tokens.pop(0)
            if tokens:
                tokens.pop(0)
        while tokens and tokens[0].startswith("-"):
            tokens.pop(0)
    return ""


def programs_in_shell(text):
    functions = set(re.findall(r"^\s*([A-Za-z_][\w-]*)\s*\(\)", text, re.M))
    found = set()
    for command in SHELL_BREAK.split(shell_code(text)):
        word = first_program(re.findall(r"\"[^\"]*\"|'[^']*'|\S+", command or ""))
        if NAME.match(word):
            found.add(word)
    return found, functions


def programs_in_python(text):
    return set(re.findall(r"subprocess\.\w+\(\s*\[\s*[\"']([A-Za-z_][\w.+-]*)[\"']", text))


def programs_in_cmake(text):
    return set(re.findall(r"\bCOMMAND\s+([A-Za-z_][\w.+-]*)", text))


def programs_in_cpp(text):
    return set(re.findall(r"\.start\(\s*QStringLiteral\(\"([A-Za-z_][\w.+-]*)\"\)", text))


def programs_run():
    found, functions = set(), set()
    for path in files("scripts/*", ".ci/*", "tests/**/*.sh"):
        if path.endswith(".py"):
            continue
        words, defined = programs_in_shell(read(path))
        found |= words
        functions |= defined
    for path in files("scripts/*.py", "tests/**/*.py"):
        found |= programs_in_python(read(path))
    for path in files("CMakeLists.txt", "*/CMakeLists.txt"):
        found |= programs_in_cmake(read(path))
    for path in files("tests/**/*.cpp", "bench/*.cpp", "tools/*.cpp"):
        found |= programs_in_cpp(read(path))
    return sorted(found - functions)


def installed_packages():
    """Each installed package: whether every system has it, what it provides, and the
    alternatives of each thing it depends on."""
    fields = "${Package}\t${db:Status-Status}\t${Essential}\t${Priority}\t${Provides}\t${Pre-Depends}, ${Depends}\n"
    listed = subprocess.run(["dpkg-query", "-W", "-f", fields],
                            capture_output=True, text=True, check=True).stdout
    packages = {}
    for line in listed.splitlines():
        name, status, essential, priority, provides, depends = line.split("\t")
        if status != "installed":
            continue
        packages[name] = {
            "base": essential == "yes" or priority in ("required", "important"),
            "provides": [names(item)[0] for item in provides.split(",") if item.strip()],
            "depends": [names(group) for group in depends.split(",") if group.strip()],
        }
    return packages


def names(group):
    return [re.sub(r"[\s(:].*", "", item.strip()) for item in group.split("|")]


def covered(wanted, packages):
    """The packages named, all that they depend on, and what every system has."""
    providers = {}
    for name, package in packages.items():
        for virtual in package["provides"]:
            providers.setdefault(virtual, []).append(name)
    queue = [name for name, package in packages.items() if package["base"] or name in wanted]
    seen = set(queue)
    while queue:
        for group in packages[queue.pop()]["depends"]:
            for alternative in group:
                for real in [alternative] + providers.get(alternative, []):
                    if real in packages and real not in seen:
                        seen.add(real)
                        queue.append(real)
    return seen


def owners():
    """Each file that an installed package put on the system, and that package."""
    owned = {}
    for listing in glob.glob("/var/lib/dpkg/info/*.list"):
        package = os.path.basename(listing)[: -len(".list")].split(":")[0]
        for path in read(listing).splitlines():
            owned.setdefault(path, package)
    return owned


def owner(path, owned):
    real = os.path.realpath(path)
    for candidate in (path, real):
        for form in (candidate, candidate.removeprefix("/usr"), "/usr" + candidate):
            if form in owned:
                return owned[form]
    return None


def main(wanted):
    packages = installed_packages()
    have = covered(set(wanted), packages)
    owned = owners()
    missing = 0
    for program in programs_run():
        path = shutil.which(program)
        if path is None or os.path.realpath(path).startswith(ROOT + os.sep):
            continue
        package = owner(path, owned)
        if package is not None and package not in have:
            print(f"{program} ({path}) comes from {package}, which no package list in scripts/ installs")
            missing = 1
    return missing


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
