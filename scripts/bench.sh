#!/usr/bin/env bash
# Benchmark: builds the Release kv_cli (folder build-bench) and prints, for
# the built-in default host and for a large generated host (8 controllers,
# each with 128 drives, 32 RAID-5 units and 16 SES enclosures), each
# command's requests (from the request log), its CPU time, the time per
# request and the ratio to /bin/true. Runs alternate (kv_cli, /bin/true,
# kv_cli, ...) so that the ratio holds on a busy machine.
#   scripts/bench.sh [runs]     (default 7 runs of each; medians shown)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
build=${KV_BENCH_BUILD:-build-bench}  # another Release build folder may stand in

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKV_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target kv_cli --parallel 4 >/dev/null
kv_cli=$PWD/$build/kv_cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The default host, once with a request log (to count) and once without
# (to time), as a fresh default host has none.
KV_EMULATED_HOST=$work/default/host.json "$kv_cli" help >/dev/null
python3 - "$work/default/host.json" <<'PY'
import json, sys
path = sys.argv[1]
host = json.load(open(path))
host["request_log"] = "requests.jsonl"
json.dump(host, open(path.replace("host.json", "counted.json"), "w"), indent=2)
PY

# The large host.
mkdir -p "$work/large"
python3 - "$work/large" <<'PY'
import json, sys
folder = sys.argv[1]
def controller(c):
    drives = [{"port": p, "capacity": 3907029168, "model": "Torvex TX2000-S7",
               "serial": "TL%02d%06d" % (c, p), "firmware": "TX2.01", "interface": 1,
               "enclosure": p // 8, "slot": p % 8} for p in range(128)]
    units = [{"number": u, "type": "raid5", "stripe": 7,
              "members": [4 * u + i for i in range(4)], "name": "u%d" % u,
              "serial": "LU%02d%02d" % (c, u)} for u in range(32)]
    enclosures = [{"port": e, "product": "KV-JBOD-8", "slots": 8, "fans": 3,
                   "power_supplies": 2, "temp_sensors": [{"temperature": 30}],
                   "alarms": 1} for e in range(16)]
    return {"device_type": 5, "slot": c + 1, "ui_number": c + 1,
            "driver": {"version": [3, 0, 2, 46], "srl_min": 35, "srl_max": 40},
            "identity": {"model": "KV-V820-128p", "serial": "KVS%02d00-000000" % c,
                         "firmware": "KF62 7.30.00.058", "compat_level": 37,
                         "model_code": 8, "features": 2, "srl": 38},
            "settings": {"ports": 128},
            "drives": drives, "units": units,
            "enclosures": {"protocol": "ses", "list": enclosures}}
host = {"format": 1, "machine": {"host_name": "kvlarge",
                                 "controllers": [controller(c) for c in range(8)]}}
json.dump(host, open(folder + "/host.json", "w"), indent=2)
host["request_log"] = "requests.jsonl"
json.dump(host, open(folder + "/counted.json", "w"), indent=2)
PY

# Median CPU seconds (user + system, from the system's accounting of each
# finished child) of the command and of /bin/true, run alternately, and the
# median of the pairs' ratios: "cpu ratio".
alternate() {
    python3 - "$runs" "$@" <<'PY'
import os, statistics, sys
runs, command = int(sys.argv[1]), sys.argv[2:]
def cpu(argv):
    with open(os.devnull, "wb") as null:
        pid = os.posix_spawn(argv[0], argv, dict(os.environ),
                             file_actions=[(os.POSIX_SPAWN_DUP2, null.fileno(), 1),
                                           (os.POSIX_SPAWN_DUP2, null.fileno(), 2)])
    _, _, usage = os.wait4(pid, 0)
    return usage.ru_utime + usage.ru_stime
cpu(command)  # warm-up
pairs = [(cpu(command), cpu(["/bin/true"])) for _ in range(runs)]
print(statistics.median(a for a, _ in pairs),
      statistics.median(a / b for a, b in pairs if b > 0))
PY
}

commands=("help" "show" "/c0 show" "/c0 show all" "/c0/u0 show all" "/c0/p0 show all" "/c0/e0 show")
for host in default large; do
    echo "== $host host"
    printf '%-18s %9s %10s %12s %10s\n' command requests "cpu ms" "us/request" "x /bin/true"
    for command in "${commands[@]}"; do
        read -r -a words <<<"$command"
        rm -f "$work/$host/requests.jsonl"
        KV_EMULATED_HOST=$work/$host/counted.json "$kv_cli" "${words[@]}" >/dev/null
        requests=$(grep -c '"op":"request"' "$work/$host/requests.jsonl" 2>/dev/null || true)
        read -r cpu ratio < <(KV_EMULATED_HOST=$work/$host/host.json alternate "$kv_cli" "${words[@]}")
        awk -v c="$command" -v n="${requests:-0}" -v a="$cpu" -v r="$ratio" 'BEGIN {
            per = "-"
            if (n > 0) per = sprintf("%.1f", a * 1e6 / n)
            printf "%-18s %9d %10.1f %12s %10.2f\n", c, n, a * 1000, per, r }'
    done
done
