#!/usr/bin/env bash
# One part directory shared by two workstations, on this machine: two Wine
# prefixes (each with a wineserver, a running-object table, a C:\windows and
# a SolidWorks simulator of its own) whose hosts use one Linux folder as the
# part directory (Z:\...). Between prefixes Wine shares (verified here):
# - the files: creating one is atomic on the shared file system;
# - byte-range locks (LockFileEx): each wineserver also takes them as POSIX
#   locks on the file, so they hold across prefixes and end with the holding
#   process, however it ends;
# and not:
# - share modes: each wineserver knows only its own handles, so a file opened
#   without sharing in one prefix can still be written or deleted from the other.
#
#   contention.sh BUILD_DIR race [ROUNDS [REPEATS]]
#       two hosts on workstation A and one on B insert parts 0..19 at the
#       same moments (every other round the same part everywhere); every call
#       returns 1, every part file's imported SAT equals its properties and
#       name, each part was imported once (the journals of both simulators),
#       at least one round collided, the lock is free and the simulators hold
#       no references
#   contention.sh BUILD_DIR holder-killed
#       A holds the lock (its SolidWorks hangs in the import) and is killed;
#       B, waiting for the lock, goes on and inserts its part
#   contention.sh BUILD_DIR lock-unavailable
#       B holds the lock; A's insertion fails at the bound (the settings'
#       LockWaitSeconds, 2 here, never before it) with message 121 naming the
#       directory, imports nothing and deletes nothing
# The script ends exactly the processes it started (their process trees, by
# id): other runs on the same machine keep theirs.
set -euo pipefail
build=$(cd "$1" && pwd)
mode=$2
here=$(cd "$(dirname "$0")" && pwd)
bin="$build/bin"
prefixes=(wineprefix wineprefix-b)
export LC_ALL=en_US.UTF-8
bound_s=2

on() {
  local prefix=$1
  shift
  QEL_WINE_PREFIX=$prefix "$here/../../cmake/wine-run.sh" "$build" "$@" | tr -d '\r'
}
win() { echo "Z:${1//\//\\}"; }
sim() { on "$1" "$bin/swsimctl.exe" "${@:2}"; }
ini_of() { echo "$build/$1/drive_c/windows/QelSW99_3D.ini"; }
now_ms() { date +%s%3N; }
fail() {
  echo "FAILED: $*"
  exit 1
}

# Process ids of what this script started in the background.
started=()
# Ends a process we started and everything it started in turn (wine-run.sh,
# the Windows program), as a crash would end them.
kill_tree() {
  local child
  for child in $(pgrep -P "$1" || true); do kill_tree "$child"; done
  kill -9 "$1" 2>/dev/null || true
}

work=$(mktemp -d "$build/contention.XXXXXX")
finish() {
  for p in "${prefixes[@]}"; do
    sim "$p" quit >/dev/null 2>&1 || true
    if [ -f "$work/$p.ini" ]; then cp "$work/$p.ini" "$(ini_of "$p")"; else rm -f "$(ini_of "$p")"; fi
  done
  for pid in "${started[@]}"; do kill_tree "$pid"; done
  rm -rf "$work"
}
trap finish EXIT

# Both workstations: a prefix, the settings kept aside, a simulator with an assembly.
for p in "${prefixes[@]}"; do
  sim "$p" quit >/dev/null 2>&1 || true # also makes the prefix
  [ -f "$(ini_of "$p")" ] && cp "$(ini_of "$p")" "$work/$p.ini"
  on "$p" "$bin/swsim.exe" docs=assembly >"$work/swsim-$p.log" 2>&1 &
  started+=($!)
  sim "$p" wait >/dev/null || fail "no simulator in $p"
done

# Points both workstations' settings at dir, with a bound on the wait for
# its lock when one is given.
use_part_dir() {
  mkdir -p "$1"
  for p in "${prefixes[@]}"; do
    printf '[Options]\r\nPartPath=%s\\\r\n%s' "$(win "$1")" \
      "${2:+LockWaitSeconds=$2$'\r\n'}" >"$(ini_of "$p")"
  done
}

# Parts that more than one document saved (a part imported twice), over the
# journals of both workstations' simulators.
imported_twice() {
  for p in "${prefixes[@]}"; do sim "$p" journal | sed "s/^/$p /"; done |
    awk '$3 == "0x10025" { key = $1 " " $2 " " $5; if (!(key in seen)) { seen[key] = 1; n[$5]++ } }
         END { for (part in n) if (n[part] > 1) print part, n[part] }'
}

# Whether the simulator of prefix $1 has served a call whose journal line begins with $2.
served() { sim "$1" journal | grep -q "^$2"; }

# Waits up to 20 s until the command succeeds.
wait_until() {
  local what=$1
  shift
  for _ in $(seq 1 200); do
    "$@" && return 0
    sleep 0.1
  done
  fail "waited in vain for $what"
}

verify() {
  on wineprefix "$bin/contentionhost.exe" verify "$(win "$1")\\" || fail "$(cat "$work"/*.log)"
}

race() {
  local rounds=${1:-12} repeats=${2:-1} period=400 collisions=0 created=0 calls=0
  for repeat in $(seq 1 "$repeats"); do
    local dir="$work/parts$repeat"
    use_part_dir "$dir"
    for p in "${prefixes[@]}"; do sim "$p" configure "reset=1 docs=assembly"; done
    # Milliseconds since 1601, as the hosts read the clock.
    local start=$(($(now_ms) + 11644473600000 + 3000)) pids=() host
    for host in 1 2 3; do # hosts 1 and 2 on workstation A, 3 on B
      on "${prefixes[host / 3]}" "$bin/contentionhost.exe" race "$host" "$rounds" "$start" \
        "$period" "$repeat" >"$work/h$host.log" &
      pids+=($!)
      started+=($!)
    done
    for pid in "${pids[@]}"; do wait "$pid" || true; done
    local failed wrong
    failed=$(cat "$work"/h?.log | grep '^round' | grep -vc 'result 1$' || true)
    on wineprefix "$bin/contentionhost.exe" verify "$(win "$dir")\\" >"$work/verify.log" || true
    wrong=$(grep -o 'wrong [0-9][0-9]*' "$work/verify.log" | cut -d' ' -f2)
    if [ "$failed" != 0 ] || ! grep -q 'wrong 0 lock free' "$work/verify.log"; then
      grep -h -v 'result 1$' "$work"/h?.log "$work/verify.log"
      fail "repeat $repeat: $failed calls failed, ${wrong:-?} wrong parts"
    fi
    for p in "${prefixes[@]}"; do
      [ "$(sim "$p" refs)" = 0 ] || fail "$p's simulator still holds references"
    done
    local twice
    twice=$(imported_twice)
    [ -z "$twice" ] || fail "repeat $repeat: parts imported more than once: $twice"
    # A collision: a round in which two or more hosts inserted parts that did not exist yet.
    local collided
    collided=$(cat "$work"/h?.log |
      awk '$1 == "round" && $6 == 0 { n[$2]++ } END { c = 0; for (r in n) if (n[r] > 1) c++; print c }')
    [ "$collided" -gt 0 ] || fail "repeat $repeat: no round collided, so the lock was never tested"
    collisions=$((collisions + collided))
    created=$((created + $(grep -o 'parts [0-9]*' "$work/verify.log" | cut -d' ' -f2)))
    calls=$((calls + $(cat "$work"/h?.log | grep -c '^round')))
  done
  echo "contention: $repeats x $rounds rounds, 3 hosts on 2 workstations, $calls calls," \
    "$created parts created, $collisions collisions, wrong parts 0"
}

holder_killed() {
  local dir="$work/parts"
  use_part_dir "$dir"
  sim wineprefix configure "reset=1 docs=assembly"
  sim wineprefix clear
  # The import hangs (after the SAT file, written under the lock).
  sim wineprefix configure "hang-at=app:0x31"
  sim wineprefix-b configure "reset=1 docs=assembly"
  (on wineprefix "$bin/contentionhost.exe" insert 1 >"$work/a.log") &
  local a=$!
  started+=($a)
  # A writes the SAT file only while it holds the lock.
  wait_until "A's SAT file" test -s "$dir/TempSW.sat"
  on wineprefix-b "$bin/contentionhost.exe" insert 2 >"$work/b.log" &
  local b=$!
  started+=($b)
  # B's last call before the lock reads the main window's view.
  wait_until "B at the lock" served wineprefix-b "view#1 0x2 "
  # Were B not held, its read of the active document before the import would
  # follow at once (a whole insertion takes about 70 ms here): not for 2 s.
  for _ in $(seq 1 20); do
    ! served wineprefix-b "app 0x1 " || fail "B did not wait for the lock"
    sleep 0.1
  done
  kill_tree "$a"
  local start rc=0
  start=$(now_ms)
  wait "$b" || rc=$?
  local waited=$(($(now_ms) - start))
  sim wineprefix configure "release=1"
  wait "$a" 2>/dev/null || true
  [ "$rc" = 0 ] || fail "B's insertion: $(cat "$work/b.log")"
  verify "$dir"
  echo "holder killed: B finished $waited ms after the kill"
}

lock_unavailable() {
  local dir="$work/parts"
  use_part_dir "$dir" "$bound_s"
  sim wineprefix configure "reset=1 docs=assembly"
  sim wineprefix clear
  echo "an earlier SAT file" >"$dir/TempSW.sat"
  (on wineprefix-b "$bin/contentionhost.exe" hold "$(win "$dir")\\" "$(win "$work/held")") &
  local holder=$!
  started+=($holder)
  for _ in $(seq 1 100); do [ -f "$work/held" ] && break; sleep 0.1; done
  [ -f "$work/held" ] || fail "B could not take the lock"
  local before start rc=0
  before=$(cd "$dir" && ls -l --time-style=+%s.%N)
  start=$(now_ms)
  on wineprefix "$bin/contentionhost.exe" insert 3 >"$work/a.log" || rc=$?
  local waited=$(($(now_ms) - start))
  kill_tree "$holder"
  cat "$work/a.log"
  [ "$rc" = 1 ] || fail "the insertion did not fail"
  # The reason's figure is the seconds waited: the bound, never less, nor much more.
  local seconds
  seconds=$(grep -F "The part directory \"$(win "$dir")\\\" is in use by another insertion (waited " \
    "$work/a.log" | sed -n 's/.*(waited \([0-9]*\) seconds).*/\1/p' || true)
  grep -qF "Cannot create part \"$(win "$dir")\\Part03_DIN933\" !" "$work/a.log" && [ -n "$seconds" ] ||
    fail "not message 121 with the reason"
  [ "$seconds" -ge "$bound_s" ] && [ "$seconds" -lt $((bound_s + 5)) ] &&
    [ "$waited" -ge $((bound_s * 1000)) ] || fail "gave up after $seconds s ($waited ms here)"
  ! sim wineprefix journal | grep -q '0x31' || fail "something was imported"
  [ "$before" = "$(cd "$dir" && ls -l --time-style=+%s.%N)" ] ||
    fail "the directory changed: $before / $(cd "$dir" && ls -l --time-style=+%s.%N)"
  echo "lock unavailable: 121 after $waited ms, nothing imported, nothing changed"
}

case $mode in
  race) race "${3:-}" "${4:-}" ;;
  holder-killed) holder_killed ;;
  lock-unavailable) lock_unavailable ;;
  *) fail "unknown mode $mode" ;;
esac
