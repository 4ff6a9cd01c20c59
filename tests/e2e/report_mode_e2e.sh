#!/usr/bin/env bash
# Report mode end to end: the real exe under Wine against the reference
# configuration service (reached through the proxy), run as an installer or a
# support script runs it. Served configurations drive this machine to each
# overall answer whatever Wine reports for its processor and adapter; a seeded
# standalone SteamVR tells 2 from 3. The report is checked against what WMI
# says about the machine, and the screen is watched for any window.
# Usage: report_mode_e2e.sh <folder of TavolexCheck.exe and the skins> <source folder>
set -uo pipefail
bin="$1"
src="$2"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib.sh"
: "${WINEPREFIX:?needs the test prefix}"

# A fresh Wine session: one left running by an earlier test has been seen to
# hand a stale Escape key press to the next window shown, which then closes
# at once. Let that test's programs end, then stop the idle session.
timeout 60 wineserver -w 2>/dev/null
wineserver -k 2>/dev/null
timeout 30 wineserver -w 2>/dev/null

data="$WINEPREFIX/drive_c/ProgramData/ORMEX"
log="$data/Logs/Tavolex.log"
downloaded="$data/updates/tavolex/checkerconfig.json"
requests="$work/requests.jsonl"

# Every request the service answers is kept, to tell which runs reached it.
start_report_service() { # document
    : >"$requests"
    start_service --document "$1" --log "$requests"
}

# The standalone SteamVR as its installer leaves it: the flag in the 32-bit
# registry view (a 32-bit program's HKLM\Software) and the start program
# under the 32-bit Program Files. Only what this script made is removed.
program_files="$WINEPREFIX/drive_c/Program Files"
[ -d "$WINEPREFIX/drive_c/windows/syswow64" ] && program_files="$WINEPREFIX/drive_c/Program Files (x86)"
steamvr_dir="$program_files/SteamVR"
seeded_flag=""
seeded_dir=""
seed_steamvr() {
    if [ -e "$steamvr_dir" ]; then
        echo "a SteamVR folder already exists: $steamvr_dir"
        return 1
    fi
    seeded_dir=1
    mkdir -p "$steamvr_dir/bin/win32" && : >"$steamvr_dir/bin/win32/vrstartup.exe" || return 1
    seeded_flag=1
    "$wine" reg add 'HKLM\Software\HtcVive' /v StandaloneSteamVRInstalled /t REG_DWORD /d 1 /f \
        /reg:32 >/dev/null 2>&1
}
unseed_steamvr() {
    if [ -n "$seeded_flag" ]; then
        "$wine" reg delete 'HKLM\Software\HtcVive' /v StandaloneSteamVRInstalled /f /reg:32 \
            >/dev/null 2>&1
        seeded_flag=""
    fi
    [ -n "$seeded_dir" ] && rm -rf "$steamvr_dir"
    seeded_dir=""
}
trap 'unseed_steamvr; stop_service; e2e_cleanup' EXIT
trap 'exit 143' TERM INT

log_lines() { [ -f "$log" ] && wc -l <"$log" || echo 0; }
new_log() { tail -n +"$(($1 + 1))" "$log" 2>/dev/null | tr -d '\r'; }
request_count() { wc -l <"$requests"; }

# Runs the program to its end while watching the screen for any visible
# top-level window of it (hidden helper windows, such as the input method's,
# are no concern). Sets exit_code (124 when it had to be stopped) and shown
# (the names of the windows seen). Every window of this program is modal, so
# one that appears is seen here or keeps the program from ending; once one is
# seen the program is stopped.
run_app() { # dir args...
    local deadline=$((SECONDS + 120)) ids id
    start_app "$@"
    shown=""
    while kill -0 "$app_pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
        ids="$(xdotool search --onlyvisible --classname '^tavolexcheck\.exe$' 2>/dev/null)"
        if [ -n "$ids" ]; then
            for id in $ids; do
                shown="$shown [$(xdotool getwindowname "$id" 2>/dev/null)]"
            done
            break
        fi
        sleep 0.05
    done
    if kill -0 "$app_pid" 2>/dev/null; then
        kill "$app_pid" 2>/dev/null
        wait "$app_pid" 2>/dev/null
        app_pid=""
        exit_code=124
    else
        wait "$app_pid"
        exit_code=$?
        app_pid=""
    fi
}

expect_no_window() { # case
    if [ -z "$shown" ]; then
        pass "$1: no window appeared"
    else
        fail "$1: windows appeared:$shown"
    fi
}

expect_log() { # case first-line fixed-text
    if new_log "$2" | grep -qF -- "$3"; then
        pass "$1: log has \"$3\""
    else
        fail "$1: log lacks \"$3\"; new lines were: $(new_log "$2")"
    fi
}

# Files in a folder other than the expected ones (temporary files included).
expect_only_files() { # case folder names...
    local case="$1" dir="$2"
    shift 2
    local extra
    extra="$(cd "$dir" && ls -A | grep -vxF -f <(printf '%s\n' "$@"))"
    if [ -z "$extra" ]; then
        pass "$case: no stray files"
    else
        fail "$case: stray files: $extra"
    fi
}

# The machine as WMI describes it, one property per query: Wine's wmic pads
# columns, and with several properties a header can run into the next one.
mkdir -p "$work/wmi"
for query in Win32_VideoController:Description Win32_VideoController:DriverVersion \
    Win32_OperatingSystem:Caption Win32_PhysicalMemory:Capacity Win32_Processor:Name; do
    "$wine" wmic path "${query%%:*}" get "${query#*:}" >"$work/wmi/${query#*:}.txt" 2>/dev/null
done

# Checks a JSON report; prints one line per problem. Expected verdicts come as
# name=value arguments.
check_json() { # file exit-code language start-seconds end-seconds [name=value...]
    python3 - "$work/wmi" "$@" <<'PY'
import calendar, json, re, sys, time

wmidir, path, code, language, start, end = sys.argv[1:7]
expected = dict(arg.split("=", 1) for arg in sys.argv[7:])
code, start, end = int(code), int(start), int(end)
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
    print("report not readable as UTF-8 JSON: %s" % error)
    sys.exit(1)
if raw.startswith(b"\xef\xbb\xbf"):
    bad("report starts with a byte order mark")

verdicts = ["cpu_game", "cpu_video", "gpu1_game", "gpu1_video", "gpu2_game", "gpu2_video",
            "mem_support", "os_support", "game_result", "video_result", "steamvr"]
members = {"schema", "time", "language", "check_result", "adapter_names", "display_info",
           "match_info", "driver_flags", *verdicts}
if set(report) != members:
    bad("members: missing %s, unknown %s" % (sorted(members - set(report)),
                                            sorted(set(report) - members)))
    print("\n".join(problems))
    sys.exit(1)


def is_int(v):
    return isinstance(v, int) and not isinstance(v, bool)


for name in verdicts + ["schema", "check_result", "driver_flags"]:
    if not is_int(report[name]):
        bad("%s is not a number: %r" % (name, report[name]))
if problems:
    print("\n".join(problems))
    sys.exit(1)

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
    print("\n".join(problems))
    sys.exit(1)
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
print("\n".join(problems))
sys.exit(1 if problems else 0)
PY
}

# Checks a stored-result report against a JSON report of the same check:
# UTF-16 LE with BOM, section "result", the sixteen keys, texts that read
# back unchanged.
check_stored() { # stored-file json-file
    python3 - "$@" <<'PY'
import json, sys

raw = open(sys.argv[1], "rb").read()
report = json.load(open(sys.argv[2], encoding="utf-8"))
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
print("\n".join(problems))
sys.exit(1 if problems else 0)
PY
}

# Runs report mode and checks its exit code, the screen, the JSON report and
# the log line. "any" takes the exit code as the expected one.
report_case() { # case dir language report-path expected-code [name=value...]
    local case="$1" dir="$2" lang="$3" file="$4" code="$5"
    shift 5
    local before start end problems
    before="$(log_lines)"
    rm -f "$downloaded"
    start="$(date -u +%s)"
    run_app "$dir" "lang=$lang" "report=$file"
    end="$(date -u +%s)"
    [ "$code" = any ] && code="$exit_code"
    expect_exit "$case" "$code"
    expect_no_window "$case"
    local unix="$dir/${file//\\//}"
    if problems="$(check_json "$unix" "$exit_code" "$lang" "$start" "$end" "$@")"; then
        pass "$case: report complete and consistent with the machine"
    else
        fail "$case: report: $problems"
    fi
    expect_log "$case" "$before" "report written. file=$file result=$code"
}

# 1. The shipped configuration, whose answer for this machine is whatever it
# is: a JSON report in a folder with a blank in its name, then another
# extension in another language, which must give the same answer. The second
# copy has no skins: report mode loads none, so it needs none and shows no
# error box.
start_report_service "$src/config/checkerconfig.json"
dir="$(prepare_app json)"
mkdir -p "$dir/out dir"
report_case "json report" "$dir" en 'out dir\report.json' any
shipped_code="$exit_code"
expect_only_files "json report" "$dir/out dir" report.json
if grep -q '"path": "/vuzozid/wscheckerconfig".*language=en' "$requests" &&
    cmp -s "$downloaded" "$src/config/checkerconfig.json"; then
    pass "json report: the check downloaded the served configuration in English"
else
    fail "json report: configuration not downloaded: $(cat "$requests")"
fi
cp "$dir/out dir/report.json" "$work/shipped-report.json"
: >"$requests"
dir="$(prepare_app no-skins)"
rm -rf "$dir"/skin_tavolex_*
report_case "other extension" "$dir" jp findings.txt "$shipped_code"
if grep -q '"path": "/vuzozid/wscheckerconfig".*language=jp' "$requests"; then
    pass "other extension: configuration asked for in Japanese"
else
    fail "other extension: no Japanese configuration request: $(cat "$requests")"
fi

# Codes 1 to 3 need a 64-bit system and 4 GB, which no list can replace.
machine_can_pass="$(python3 -c '
import json, re, sys
r = json.load(open(sys.argv[1]))
ok = r["display_info"]["os"].endswith("(64)") and int(re.match(r"\d+", r["display_info"]["memory"]).group()) >= 4
print("yes" if ok else "no")' "$work/shipped-report.json" 2>/dev/null)"
[ "$machine_can_pass" = yes ] ||
    fail "this machine cannot pass any configuration (needs a 64-bit system and 4 GB): $(cat "$work/shipped-report.json")"

# 2. Each overall answer from a served configuration. The downloaded file
# must be the served one, or a fallback decided the outcome.
codes_case() { # document code [name=value...]
    local name="$1" document="$here/$1" code="$2"
    shift 2
    start_report_service "$document"
    local dir
    dir="$(prepare_app "code-$code")"
    report_case "code $code ($name)" "$dir" en report.json "$code" "$@"
    if cmp -s "$downloaded" "$document"; then
        pass "code $code: the served configuration was used"
    else
        fail "code $code: the downloaded configuration differs from $name"
    fi
    expect_only_files "code $code" "$dir" TavolexCheck.exe skin_tavolex_cn skin_tavolex_en \
        skin_tavolex_jp report.json
}
codes_case report_fail_all.json 0 cpu_game=1 cpu_video=1 os_support=2 mem_support=2 \
    gpu1_game=2 gpu1_video=2 gpu2_game=2 gpu2_video=2 game_result=1 video_result=1
codes_case report_pass_video.json 1 cpu_game=1 cpu_video=2 os_support=2 mem_support=2 \
    gpu1_video=2 gpu2_video=2 game_result=1 video_result=2
codes_case report_pass_games.json 3 cpu_game=2 cpu_video=2 os_support=2 mem_support=2 \
    gpu1_game=2 gpu1_video=2 gpu2_game=2 gpu2_video=2 game_result=2 video_result=2 steamvr=1
games_dir="$work/code-3"

# 3. The stored-result format, fed back into setup mode: the installer lets the
# program write result.tvxcfg beside itself, then starts it with the code.
before="$(log_lines)"
run_app "$games_dir" lang=en report=result.tvxcfg
expect_exit "stored result" 3
expect_no_window "stored result"
if problems="$(check_stored "$games_dir/result.tvxcfg" "$games_dir/report.json")"; then
    pass "stored result: UTF-16 LE with BOM, sixteen keys, same texts and verdicts as the JSON report"
else
    fail "stored result: $problems"
fi
expect_log "stored result" "$before" "report written. file=result.tvxcfg result=3"

setup_case() { # case args... ; clicks Exit setup, expects 5
    local case="$1"
    shift
    local id
    start_app "$games_dir" "$@"
    if id="$(wait_for_window '^Testing Result$' 60)"; then
        pass "$case: the setup window appears"
        # "Exit setup" in the English setup window's bottom row (720x913).
        xdotool mousemove --window "$id" 474 860 click 1
    else
        fail "$case: no setup window"
    fi
    wait_for_exit 30
    expect_exit "$case: Exit setup gives its code" 5
}
: >"$requests"
before="$(log_lines)"
setup_case "stored result in setup mode" check_result=3 lang=en
# Setup mode still wins over report mode, and then no check runs.
setup_case "setup mode wins" check_result=3 report=won.json lang=en
if [ -e "$games_dir/won.json" ]; then
    fail "setup mode wins: a report was written"
else
    pass "setup mode wins: no report written"
fi
[ "$(request_count)" -eq 0 ] && pass "setup mode: no request reached the service" ||
    fail "setup mode: requests: $(cat "$requests")"
new_log "$before" | grep -q 'Start work' && fail "setup mode: a check ran: $(new_log "$before")"

# 4. Games with SteamVR: a standalone installation announced in the registry.
before="$(log_lines)"
if seed_steamvr; then
    codes_case report_pass_games.json 2 game_result=2 steamvr=2
    expect_log "code 2" "$before" "steamvr: standalone exist."
else
    fail "code 2: could not seed a standalone SteamVR"
fi
unseed_steamvr
if "$wine" reg query 'HKLM\Software\HtcVive' /v StandaloneSteamVRInstalled /reg:32 >/dev/null 2>&1 ||
    [ -e "$steamvr_dir" ]; then
    fail "the seeded SteamVR is still there"
else
    pass "the seeded SteamVR is removed"
fi

# 5. A report that cannot be written: the check runs, the answer is 10 and
# the log names the file and the system's error; no temporary file is left.
dir="$(prepare_app unwritable)"
mkdir -p "$dir/a folder"
for target in 'C:\no-such-folder-tvx\report.json:3' 'a folder:5'; do
    file="${target%:*}"
    before="$(log_lines)"
    run_app "$dir" lang=en "report=$file"
    expect_exit "unwritable $file" 10
    expect_no_window "unwritable $file"
    expect_log "unwritable $file" "$before" "write report failed. file=$file error=${target##*:}"
done
expect_only_files "unwritable" "$dir" TavolexCheck.exe skin_tavolex_cn skin_tavolex_en \
    skin_tavolex_jp "a folder"
[ -z "$(ls -A "$dir/a folder")" ] && pass "unwritable: the folder stays empty" ||
    fail "unwritable: the folder gained $(ls -A "$dir/a folder")"

# 6. "report=" alone: 87 and a log line, before any check.
: >"$requests"
before="$(log_lines)"
run_app "$dir" lang=en report=
expect_exit "empty report path" 87
expect_no_window "empty report path"
expect_log "empty report path" "$before" "report mode needs a file: report=PATH"
[ "$(request_count)" -eq 0 ] && pass "empty report path: no request reached the service" ||
    fail "empty report path: requests: $(cat "$requests")"
new_log "$before" | grep -q 'Start work' && fail "empty report path: a check ran"

echo "report of this machine with the shipped configuration:"
cat "$work/shipped-report.json"
[ "$failures" -eq 0 ]
