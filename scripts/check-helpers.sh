# Helpers of the check scripts, sourced after setting `check` to the script's name:
# step WHAT prints progress, fail WHAT stops with a failure, same FILE1 FILE2 WHAT fails
# (showing the first differences) unless the files are equal.
fail() {
  echo "$check: FAILED: $*" >&2
  exit 1
}
step() { echo "$check: $*"; }
same() {
  cmp -s "$1" "$2" || { diff "$1" "$2" | head -20 >&2; fail "$3"; }
}
