# Sourced by the scripts that run CI's steps. `stage NAME command...` runs the command and prints its
# wall time and the CPU time of the processes it started; with MARLUNE_STAGE_TIMES set, it also
# appends "NAME<TAB>wall<TAB>user<TAB>system" (seconds) to that file.

# Seconds of user and system CPU used so far by this shell's finished children (from /proc: a
# subshell's `times` would report its own children).
stage_children_cpu() {
  awk -v hz="$(getconf CLK_TCK)" '{ sub(/^.*\) /, ""); printf "%.2f %.2f\n", $14 / hz, $15 / hz }' "/proc/$$/stat"
}

stage() {
  local name=$1 start user0 sys0 user1 sys1 wall status=0
  shift
  start=$(date +%s.%N)
  read -r user0 sys0 < <(stage_children_cpu)
  "$@" || status=$?
  read -r user1 sys1 < <(stage_children_cpu)
  wall=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
  user1=$(awk -v a="$user0" -v b="$user1" 'BEGIN { printf "%.1f", b - a }')
  sys1=$(awk -v a="$sys0" -v b="$sys1" 'BEGIN { printf "%.1f", b - a }')
  printf '[%s] %ss wall, %ss user, %ss system\n' "$name" "$wall" "$user1" "$sys1" >&2
  if [ -n "${MARLUNE_STAGE_TIMES:-}" ]; then
    printf '%s\t%s\t%s\t%s\n' "$name" "$wall" "$user1" "$sys1" >>"$MARLUNE_STAGE_TIMES"
  fi
  return "$status"
}
