#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) over the project's own sources with every
# warning an error: the files of the dev build's compile_commands.json, not
# the generated ones (moc, uic, resources) nor anything in a build folder;
# headers count when they are the project's. Two jobs, at low priority.
#   bash tools/tidy.sh                 # every source
#   bash tools/tidy.sh link/ protocol/  # those whose path contains one of these
#   bash tools/tidy.sh --full          # every source, none taken from the cache
# A file found clean is remembered by the hash of its preprocessed text (its
# headers included), .clang-tidy and clang-tidy's version, and is not checked
# again until one of these changes: a new .clang-tidy or tool version checks
# everything anew. The cache is TARVO_TIDY_CACHE (default
# ~/.cache/tarvo-tidy), shared by every clone; only clean results are kept.
# Needs the dev build (tools/setup.sh) for compile_commands.json and the
# generated headers. clang-tidy 14 (Debian 12) is the reference.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TARVO_BUILD_DIR:-$here/build}"
[ -f "$build/compile_commands.json" ] || { echo "tidy.sh: no $build/compile_commands.json; run tools/setup.sh first" >&2; exit 2; }
tidy="$(command -v clang-tidy-14 || command -v clang-tidy || true)"
[ -n "$tidy" ] || { echo "tidy.sh: clang-tidy is not installed (tools/setup.sh installs it)" >&2; exit 2; }
cache="${TARVO_TIDY_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tarvo-tidy}"
full=0
if [ "${1:-}" = --full ]; then
  full=1
  shift
fi
mkdir -p "$cache"

# Headers are reported where they are the project's own: one folder down
# (link/link.h) or two under tests/ (tests/scope/scopefixture.h); the build
# folders' generated headers lie deeper or elsewhere.
headers="^$here/([a-z]+|tests/[a-z]+)/[^/]*\.h$"

exec nice -n 10 python3 - "$here" "$build" "$tidy" "$cache" "$full" "$headers" "$@" <<'PY'
import concurrent.futures, hashlib, json, os, re, shlex, subprocess, sys

here, build, tidy, cache, full, headers, *wanted = sys.argv[1:]
full = full == "1"
# The project's files outside every build folder, optionally narrowed.
files = []
for entry in json.load(open(os.path.join(build, "compile_commands.json"))):
    path = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
    rel = os.path.relpath(path, here)
    if rel.startswith("..") or rel.startswith("build"):
        continue
    if wanted and not any(w in path for w in wanted):
        continue
    files.append((path, entry))
files.sort(key=lambda f: f[0])

common = hashlib.sha256()
common.update(subprocess.run([tidy, "--version"], capture_output=True, text=True).stdout.encode())
common.update(open(os.path.join(here, ".clang-tidy"), "rb").read())
common.update(headers.replace(here, "").encode())

def key(path, entry):
    # The preprocessed text without line markers: the same in every clone.
    args = entry.get("arguments") or shlex.split(entry["command"])
    out = []
    skip = False
    for a in args:
        if skip:
            skip = False
            continue
        if a == "-o":
            skip = True
            continue
        if a.startswith("-M"):
            if a in ("-MF", "-MT", "-MQ"):
                skip = True
            continue
        out.append(a)
    pre = subprocess.run(out + ["-E", "-P", "-o", "-"], cwd=entry["directory"], capture_output=True)
    if pre.returncode != 0:
        return None
    h = common.copy()
    h.update(os.path.relpath(path, here).encode())
    h.update(pre.stdout)
    return h.hexdigest()

def check(item):
    path, entry = item
    k = None if full else key(path, entry)
    if k and os.path.exists(os.path.join(cache, k)):
        return path, True, "", True
    r = subprocess.run([tidy, "-p", build, "-quiet", "-header-filter=" + headers, path],
                       capture_output=True, text=True)
    text = r.stdout + "".join(l + "\n" for l in r.stderr.splitlines()
                              if "warnings generated" not in l and "Suppressed" not in l
                              and "Use -header-filter" not in l and "display errors from all" not in l)
    clean = r.returncode == 0 and "warning:" not in text and "error:" not in text
    if clean:
        k = k or key(path, entry)
        if k:
            open(os.path.join(cache, k), "w").close()
    return path, clean, text, False

failed = cached = 0
with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
    for path, clean, text, hit in pool.map(check, files):
        cached += hit
        if not clean:
            failed += 1
            sys.stdout.write(text)
        sys.stdout.flush()
print(f"tidy.sh: {len(files)} files, {cached} known clean, {len(files) - cached - failed} checked clean, {failed} with findings")
sys.exit(1 if failed else 0)
PY
