#!/usr/bin/env python3
"""Checks of the reports that report mode writes, for report_mode_e2e.sh.

    report_checks.py json WMI-FOLDER REPORT EXIT-CODE LANGUAGE START END [NAME=VALUE...]
    report_checks.py stored STORED-REPORT JSON-REPORT

"json" checks a JSON report: its members and types, the exit code it goes
with, the language, a time within the run, the expected verdicts given as
NAME=VALUE, and the findings against what WMI says about the machine (one
wmic answer per property in WMI-FOLDER). "stored" checks a stored-result
report against a JSON report of the same check: UTF-16 LE with BOM, section
"result", the sixteen keys, texts that read back unchanged.
Prints one line per problem; the exit status is 1 when there is any.
"""

import calendar
import json
import re
import sys
import time


def check_json(wmidir, path, code, language, start, end, expected):
    problems = []
    bad = problems.append

    def upper(text):
        return "".join(c.upper() if "a" <= c <= "z" else c for c in text)

    def wmi(prop):
        """Rows of a one-property wmic answer, padding removed."""
        try:
            lines = open("%s/%s.txt" % (wmidir, prop), "rb").read().decode("utf-16").splitlines()
        except (OSError, UnicodeError) as error:
            bad("WMI %s unreadable: %s" % (prop, error))
            return []
        if not lines or lines[0].strip() != prop:
            bad("WMI %s: unexpected answer %r" % (prop, lines[:2]))
            return []
        return [line.rstrip() for line in lines[1:]]

    def nvidia_version(text):
        pieces = text.split(".")
        if pieces and pieces[-1] == "":
            pieces.pop()  # a trailing point gives no last piece
        if len(pieces) < 2:
            return 0

        def value(piece):
            m = re.match(r"\s*([+-]?\d+)", piece)
            return int(m.group(1)) if m else 0

        d = value(pieces[-2])
        d = -(-d % 10) if d < 0 else d % 10
        return value(pieces[-1]) + d * 10000

    try:
        raw = open(path, "rb").read()
        report = json.loads(raw.decode("utf-8"))
    except (OSError, ValueError) as error:
        return ["report not readable as UTF-8 JSON: %s" % error]
    if raw.startswith(b"\xef\xbb\xbf"):
        bad("report starts with a byte order mark")

    verdicts = ["cpu_game", "cpu_video", "gpu1_game", "gpu1_video", "gpu2_game", "gpu2_video",
                "mem_support", "os_support", "game_result", "video_result", "steamvr"]
    members = {"schema", "time", "language", "check_result", "adapter_names", "display_info",
               "match_info", "driver_flags", *verdicts}
    if set(report) != members:
        bad("members: missing %s, unknown %s" % (sorted(members - set(report)),
                                                sorted(set(report) - members)))
        return problems

    def is_int(v):
        return isinstance(v, int) and not isinstance(v, bool)

    for name in verdicts + ["schema", "check_result", "driver_flags"]:
        if not is_int(report[name]):
            bad("%s is not a number: %r" % (name, report[name]))
    if problems:
        return problems

    texts = {}
    for part in ("display_info", "match_info"):
        info = report[part]
        if not isinstance(info, dict) or set(info) != {"os", "cpu", "memory", "gpu", "dispdriver"}:
            bad("%s has the wrong members: %r" % (part, info))
            continue
        for pair in ("gpu", "dispdriver"):
            if (not isinstance(info[pair], list) or len(info[pair]) != 2
                    or not all(isinstance(t, str) for t in info[pair])):
                bad("%s.%s is not two texts: %r" % (part, pair, info[pair]))
        texts[part] = info
    names = report["adapter_names"]
    if not isinstance(names, list) or not all(isinstance(t, str) for t in names) or len(names) > 2:
        bad("adapter_names is not at most two texts: %r" % names)
    if problems:
        return problems
    shown, match = texts["display_info"], texts["match_info"]

    if report["schema"] != 1:
        bad("schema %r" % report["schema"])
    if report["language"] != language:
        bad("language %r, expected %r" % (report["language"], language))
    try:
        when = calendar.timegm(time.strptime(report["time"], "%Y-%m-%dT%H:%M:%SZ"))
        if not start - 1 <= when <= end + 1:
            bad("time %s lies outside the run" % report["time"])
    except (TypeError, ValueError):
        bad("time %r is not ISO 8601 UTC" % report["time"])

    for name in verdicts[:10]:
        if report[name] not in (0, 1, 2):
            bad("%s out of range: %r" % (name, report[name]))
    if report["steamvr"] not in (1, 2):
        bad("steamvr out of range: %r" % report["steamvr"])
    if report["check_result"] != code:
        bad("check_result %r but exit code %d" % (report["check_result"], code))
    if report["game_result"] == 2:
        answer = 2 if report["steamvr"] == 2 else 3
    else:
        answer = 1 if report["video_result"] == 2 else 0
    if report["check_result"] != answer:
        bad("check_result %r disagrees with game_result/video_result/steamvr (%d)"
            % (report["check_result"], answer))
    for name, value in expected.items():
        if str(report.get(name)) != value:
            bad("%s is %r, expected %s" % (name, report.get(name), value))

    # The adapters as the graphics probe must have recorded them.
    descriptions = wmi("Description")
    drivers = wmi("DriverVersion")
    if len(descriptions) != len(drivers):
        bad("WMI gave %d descriptions and %d driver versions" % (len(descriptions), len(drivers)))
    for slot in range(2):
        description = descriptions[slot] if slot < len(descriptions) else None
        driver = drivers[slot] if slot < len(drivers) else ""
        gpu = description + " " if description else ""
        if shown["gpu"][slot] != gpu:
            bad("display_info.gpu[%d] %r, WMI says %r" % (slot, shown["gpu"][slot], gpu))
        if match["gpu"][slot] != upper(gpu):
            bad("match_info.gpu[%d] %r, expected %r" % (slot, match["gpu"][slot], upper(gpu)))
        if shown["dispdriver"][slot] != driver:
            bad("display_info.dispdriver[%d] %r, WMI says %r" % (slot, shown["dispdriver"][slot], driver))
    wanted = [upper(d) + " " for d in descriptions[:2] if d]
    if names != wanted:
        bad("adapter_names %r, WMI says %r" % (names, wanted))
    flags = 0
    for slot in range(2):
        if "NVIDIA" in upper(shown["gpu"][slot]) and 1 <= nvidia_version(shown["dispdriver"][slot]) <= 39064:
            flags |= 1 << slot
    if report["driver_flags"] != flags:
        bad("driver_flags %r, the adapters give %d" % (report["driver_flags"], flags))

    # The rest of the machine.
    captions = wmi("Caption")
    if captions and shown["os"] not in (captions[0] + "(64)", captions[0] + "(32)"):
        bad("display_info.os %r, WMI caption %r" % (shown["os"], captions[0]))
    capacities = wmi("Capacity")
    try:
        gib = sum(int(c) for c in capacities if c) // 2**30
        if capacities and shown["memory"] != "%dGB" % gib:
            bad("display_info.memory %r, WMI says %d GiB" % (shown["memory"], gib))
    except ValueError:
        bad("WMI capacities %r" % capacities)
    # WMI reads the same processor instruction as the product. The kernel's
    # "model name" is no reference: under a hypervisor it can differ.
    processors = wmi("Name")
    if processors and shown["cpu"].strip() != processors[0].strip():
        bad("display_info.cpu %r, WMI says %r" % (shown["cpu"], processors[0].strip()))
    if match["cpu"] != upper(shown["cpu"]):
        bad("match_info.cpu %r, expected %r" % (match["cpu"], upper(shown["cpu"])))
    for name in ("os", "memory"):
        if match[name] != "":
            bad("match_info.%s is filled: %r" % (name, match[name]))
    if match["dispdriver"] != ["", ""]:
        bad("match_info.dispdriver is filled: %r" % match["dispdriver"])
    return problems


def check_stored(stored_path, json_path):
    raw = open(stored_path, "rb").read()
    report = json.load(open(json_path, encoding="utf-8"))
    problems = []
    if not raw.startswith(b"\xff\xfe"):
        problems.append("no UTF-16 LE byte order mark")
    text = raw[2:].decode("utf-16-le")
    lines = text.split("\r\n")
    if lines[-1] == "":
        lines.pop()
    if not lines or lines[0] != "[result]":
        problems.append("first line %r" % lines[:1])
    values = dict(line.split("=", 1) for line in lines[1:] if "=" in line)
    keys = ["os", "cpu", "memory", "gpu1", "gpu2", "dispdriver1", "dispdriver2", "cpu_game",
            "cpu_video", "mem_support", "gpu1_game", "gpu1_video", "gpu2_game", "gpu2_video",
            "os_support", "steamvr"]
    if [line.split("=", 1)[0] for line in lines[1:]] != keys:
        problems.append("keys %r" % [line.split("=", 1)[0] for line in lines[1:]])
    shown = report["display_info"]
    want = {"os": shown["os"], "cpu": shown["cpu"], "memory": shown["memory"],
            "gpu1": shown["gpu"][0], "gpu2": shown["gpu"][1],
            "dispdriver1": shown["dispdriver"][0], "dispdriver2": shown["dispdriver"][1]}

    def as_read(value):
        """What the profile API returns: blanks trimmed, then one pair of quotes."""
        value = value.strip(" \t")
        if len(value) >= 2 and value[0] == value[-1] and value[0] in "\"'":
            value = value[1:-1]
        return value

    for key, value in want.items():
        if as_read(values.get(key, "")) != value:
            problems.append("%s=%r reads back as %r, the JSON report says %r"
                            % (key, values.get(key), as_read(values.get(key, "")), value))
    for key in keys[7:]:
        if values.get(key) != str(report[key]):
            problems.append("%s=%r, the JSON report says %r" % (key, values.get(key), report[key]))
    return problems


def main(argv):
    if len(argv) >= 7 and argv[0] == "json":
        wmidir, path, code, language, start, end = argv[1:7]
        expected = dict(arg.split("=", 1) for arg in argv[7:])
        problems = check_json(wmidir, path, int(code), language, int(start), int(end), expected)
    elif len(argv) == 3 and argv[0] == "stored":
        problems = check_stored(argv[1], argv[2])
    else:
        print(__doc__)
        return 2
    print("\n".join(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
