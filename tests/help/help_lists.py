#!/usr/bin/env python3
"""Checks that the manual page and the bash completion list the commands and
options that qvm's own help lists, no more and no fewer.

    help_lists.py QVM PAGE.scd COMPLETION

Everything is read from `qvm --help` and `qvm COMMAND --help`, so a new
command or option fails here until both the page and the completion have it.
The page gives each command an entry under COMMANDS whose first line repeats
its usage line; options that no usage line shows (the tool's own, aliases, --help) have
an entry of their own. The completion's table gives each command's options.
"""
import re
import subprocess
import sys

# Every command takes them: the page names them once, the completion adds
# them itself.
HELP = {"-h", "--help"}

# "  --table,--from-dump FILE Excludes: ...", "  --verbose      show ..."
OPTION_LINE = re.compile(r"^  (-\S*)(?: ([A-Z][A-Z|]*)(?=\s|$))?")
# "  smbios export        the whole table as JSON"
COMMAND_LINE = re.compile(r"^  (\S+(?: \S+)*?)(?: {2,}|$)")
# "*--table* _FILE_, *--from-dump* _FILE_" as an entry's first line
PAGE_OPTION = re.compile(r"\*(--?[a-z0-9][a-z0-9-]*)\*")


def qvm_help(qvm, title=""):
    return subprocess.run([qvm, *title.split(), "--help"], check=True,
                          capture_output=True, text=True).stdout


def options_of(help_text):
    """{name: whether it takes a value} for each option the help lists."""
    found = {}
    for line in help_text.splitlines():
        match = OPTION_LINE.match(line)
        if match:
            for name in match.group(1).split(","):
                found[name] = match.group(2) is not None
    return found


def commands_of(help_text):
    titles, listing = [], False
    for line in help_text.splitlines():
        if line.startswith("Commands"):
            listing = True
        elif not line.strip():
            listing = False
        elif listing:
            titles.append(COMMAND_LINE.match(line).group(1))
    return titles


def usage_of(help_text):
    return next((line for line in help_text.splitlines()
                 if line.startswith("Usage: ")), "")


def page_sections(text):
    """{heading: lines} of the page's top-level sections."""
    sections, lines = {}, []
    for line in text.splitlines():
        if line.startswith("# "):
            lines = sections.setdefault(line[2:].strip(), [])
        else:
            lines.append(line)
    return sections


def unmarked(line):
    return re.sub(r"[*_]", "", line)


def read_page(path):
    """The commands' usage lines and the options that have an entry."""
    sections = page_sections(open(path, encoding="utf-8").read())
    usages = {}
    commands = sections.get("COMMANDS", [])
    for line, below in zip(commands, commands[1:]):
        if re.match(r"\*[a-z]", line) and below.startswith("\t"):
            title = line[1:line.index("*", 1)]
            usages[title] = "Usage: qvm " + unmarked(line)
    synopsis = next(line for line in sections["SYNOPSIS"] if line.strip())
    usages[""] = "Usage: " + unmarked(synopsis)
    entries = set()
    for lines in sections.values():
        for line in lines:
            if line.startswith("*-"):
                entries.update(PAGE_OPTION.findall(line))
    return usages, entries


def read_completion(path):
    """{command: {option: whether it takes a value}}; "" for the tool."""
    dump = ('source "$1"; for k in "${!_qvm_options[@]}"; do '
            'printf "%s\\t%s\\n" "$k" "${_qvm_options[$k]}"; done')
    out = subprocess.run(["bash", "-c", dump, "bash", path], check=True,
                         capture_output=True, text=True).stdout
    table = {}
    for line in out.splitlines():
        key, words = line.split("\t")
        table[key.removeprefix("qvm").strip()] = {
            w.rstrip("="): w.endswith("=") for w in words.split()}
    return table


def command_problems(where, listed, helps):
    """The commands that where lists against those that qvm lists."""
    return ([f"{where}: no entry for 'qvm {t}'"
             for t in sorted(helps.keys() - listed)] +
            [f"{where}: 'qvm {t}' is no command of qvm"
             for t in sorted(listed - helps.keys())])


def page_problems(helps, usages, entries):
    problems = command_problems("page", usages.keys(), helps)
    known = set()
    for title, text in helps.items():
        options = options_of(text)
        known.update(options)
        if title not in usages:
            continue
        if usages[title] != usage_of(text):
            problems.append(f"page: '{usages[title]}' differs from "
                            f"'{usage_of(text)}'")
        shown = set(re.findall(r"--?[a-z0-9][a-z0-9-]*", usages[title]))
        problems += [f"page: {f'qvm {title}'.strip()} {o} is not described"
                     for o in sorted(options.keys() - shown - entries)]
    problems += [f"page: {o} is no option of qvm"
                 for o in sorted(entries - known)]
    return problems


def completion_problems(helps, table):
    problems = command_problems("completion", table.keys(), helps)
    for title in sorted(helps.keys() & table.keys()):
        name = f"qvm {title}".strip()
        options = {o: v for o, v in options_of(helps[title]).items()
                   if o not in HELP}
        offered = table[title]
        problems += [f"completion: {name} lacks {o}"
                     for o in sorted(options.keys() - offered.keys())]
        problems += [f"completion: {name} {o} is no option"
                     for o in sorted(offered.keys() - options.keys())]
        for option in sorted(options.keys() & offered.keys()):
            if options[option] != offered[option]:
                takes = "takes a value" if options[option] else "takes none"
                problems.append(f"completion: {name} {option} {takes} "
                                "(marked by a final \"=\")")
    return problems


def main():
    qvm, page, completion = sys.argv[1:4]
    top = qvm_help(qvm)
    helps = {"": top}
    helps.update({t: qvm_help(qvm, t) for t in commands_of(top)})
    problems = (page_problems(helps, *read_page(page)) +
                completion_problems(helps, read_completion(completion)))
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
