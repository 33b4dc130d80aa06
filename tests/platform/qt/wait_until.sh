# Sourced by the tests that drive the real program under a virtual X server; the script
# defines fail <message>.
# wait_until <what> <command...>: polls the command for up to a minute.
wait_until() {
  local what=$1
  shift
  for _ in $(seq 600); do
    "$@" && return 0
    sleep 0.1
  done
  fail "$what"
}
