#!/usr/bin/env bash
# Checks the workflow's SLURM profile (workflow/profiles/slurm) on a real single-node SLURM cluster
# that it starts from Debian's packages (munged, slurmctld, slurmd; no accounting database, no
# account given, $USER unset as in containers), with the varigap-cli of build folder $1 (default
# build) and the bundled amplicon example in shards of 200 reads (three per sample):
#   - a rule asking for more CPUs than the node has stops the workflow before any job;
#   - a run with every step a SLURM job gives analysis.tsv, counts.tsv and distinct.tsv of one
#     varigap-cli analyze byte for byte;
#   - meanwhile, in a run whose shard jobs have a time limit of one minute, shard 1 of S1 stalls
#     halfway through its table and is killed by SLURM at the limit: the run fails (TIMEOUT), and
#     run again it analyses only the shards it lacks; its tables are the direct run's.
# The cluster's state, logs and sockets live in a temporary folder; on exit every job is cancelled
# and the daemons are stopped. Skipped, with one line, where SLURM cannot start.
# Usage: scripts/check-slurm.sh [BUILD_DIR]   (as root; scripts/install-deps.sh --slurm)
set -euo pipefail
cd "$(dirname "$0")/.."
src=$PWD
build=$(cd "${1:-build}" && pwd)
cli=$build/varigap-cli
check=check-slurm
source scripts/check-helpers.sh  # the working folder is the project's
skip() {
  echo "$check: SKIPPED: SLURM cannot start here: $*"
  exit 0
}

for tool in munged mungekey slurmctld slurmd slurmstepd sbatch sinfo squeue scancel snakemake python3; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh --slurm)"
done
[[ $(id -u) -eq 0 ]] || skip "slurmd has to run as root"
cmake --build "$build" --target varigap-cli >/dev/null || fail "build"
start_all=$(date +%s)
tmp=$(mktemp -d)
chmod 755 "$tmp"  # munged wants every folder above its socket searchable by all
daemons=()        # process ids, stopped in reverse order
# Cancels the jobs left (slurmd leaves running jobs behind when it stops), then stops the daemons.
stop_cluster() {
  if [[ -e $tmp/slurm.conf ]] && squeue -h -o %i >"$tmp/left" 2>/dev/null && [[ -s $tmp/left ]]; then
    xargs scancel <"$tmp/left" || true
    for _ in {1..20}; do [[ -z $(squeue -h -o %i 2>/dev/null) ]] && break; sleep 0.5; done
  fi
  local i
  for ((i = ${#daemons[@]} - 1; i >= 0; i--)); do
    kill "${daemons[i]}" 2>/dev/null || true
    wait "${daemons[i]}" 2>/dev/null || true
  done
  daemons=()
}
trap 'stop_cluster; rm -rf "$tmp"' EXIT

step "starting munged, slurmctld and slurmd in $tmp"
mkdir -m 700 "$tmp/key"
mkdir "$tmp/munge" "$tmp/state" "$tmp/spool" "$tmp/log"
mungekey --create --keyfile="$tmp/key/munge.key" || skip "mungekey failed"
munged -F --socket="$tmp/munge/socket" --key-file="$tmp/key/munge.key" --pid-file="$tmp/munge/pid" \
  --seed-file="$tmp/munge/seed" --log-file="$tmp/log/munged.log" 2>>"$tmp/log/munged.log" &
daemons+=($!)
# Two free ports of this machine, for the controller and the node.
read -r ctl_port node_port < <(python3 -c 'import socket
s = [socket.socket() for _ in range(2)]
for x in s: x.bind(("127.0.0.1", 0))
print(*[x.getsockname()[1] for x in s])')
node=$(hostname -s)
# The node as slurmd finds this machine: CPUs, sockets, cores, threads and memory (MB).
hardware=$(slurmd -C | sed -n '1s/^NodeName=[^ ]* //p')
[[ $hardware == *CPUs=* ]] || skip "slurmd -C does not describe this machine"
export SLURM_CONF=$tmp/slurm.conf
cat >"$SLURM_CONF" <<EOF
ClusterName=varigapcheck
SlurmctldHost=$node(127.0.0.1)
SlurmctldPort=$ctl_port
SlurmdPort=$node_port
SlurmUser=root
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$tmp/munge/socket
StateSaveLocation=$tmp/state
SlurmdSpoolDir=$tmp/spool
SlurmctldPidFile=$tmp/slurmctld.pid
SlurmdPidFile=$tmp/slurmd.pid
SlurmctldLogFile=$tmp/log/slurmctld.log
SlurmdLogFile=$tmp/log/slurmd.log
# No cgroups (containers seldom allow them; a job's processes are its process group) and no
# accounting database.
ProctrackType=proctrack/pgid
TaskPlugin=task/none
AccountingStorageType=accounting_storage/none
JobAcctGatherType=jobacct_gather/none
JobCompType=jobcomp/none
MpiDefault=none
# Jobs start as soon as they fit; CPUs and memory are shared out among jobs.
SchedulerType=sched/builtin
SelectType=select/cons_tres
SelectTypeParameters=CR_Core_Memory
ReturnToService=2
# A job past its time limit is killed at once (TERM, then KILL 2 s later); finished jobs stay
# visible to scontrol for 10 minutes (without accounting, Snakemake asks scontrol).
OverTimeLimit=0
KillWait=2
MinJobAge=600
NodeName=$node NodeAddr=127.0.0.1 $hardware State=UNKNOWN
PartitionName=check Nodes=$node Default=YES MaxTime=INFINITE State=UP
EOF
for _ in {1..20}; do [[ -S $tmp/munge/socket ]] && break; sleep 0.5; done
[[ -S $tmp/munge/socket ]] || skip "munged did not start: $(tail -n 1 "$tmp/log/munged.log")"
slurmctld -D -f "$SLURM_CONF" 2>>"$tmp/log/slurmctld.log" &
daemons+=($!)
slurmd -D -f "$SLURM_CONF" 2>>"$tmp/log/slurmd.log" &
daemons+=($!)
for _ in {1..60}; do [[ $(sinfo -h -N -o %T 2>/dev/null) == idle ]] && break; sleep 0.5; done
[[ $(sinfo -h -N -o %T 2>/dev/null) == idle ]] ||
  skip "the node did not come up: $(tail -n 1 "$tmp/log/slurmd.log"); $(tail -n 1 "$tmp/log/slurmctld.log")"
cpus=$(sinfo -h -N -o %c)
step "  node $node: $hardware"

ex=$src/data/example
template=$ex/p6/p6.tpl
samples=(S1="$ex/amplicon/S1.fastq.gz" S2="$ex/amplicon/S2.fastq.gz")
# slurm_run NAME ARGS...: Snakemake through the profile on configuration NAME, in its output folder,
# as a user without $USER; status asked every second (the profile keeps Snakemake's 30 s), one
# thread per job so that two jobs share the node.
slurm_run() {
  mkdir -p "$tmp/$1"
  env -u USER snakemake -s "$src/workflow/Snakefile" -d "$tmp/$1" --configfile "$tmp/$1.yaml" \
    --profile "$src/workflow/profiles/slurm" --max-status-checks-per-second 1 --set-threads split=1 analyze=1 "${@:2}"
}
# The program of the killed run: varigap-cli, but on the shard named by $STALL_SHARD (SAMPLE/PART)
# its table stops after 4 kB and the job hangs, as on a node that stalls mid-shard.
cat >"$tmp/varigap-cli" <<EOF
#!/usr/bin/env bash
if [[ -n \${STALL_SHARD:-} && " \$* " == *"/split/\$STALL_SHARD "*"--format tsv"* ]]; then
  "$cli" "\$@" | head -c 4096
  touch "$tmp/stalled"
  exec -a "$tmp/stalled" sleep 240  # named so that the check sees it if SLURM left it behind
fi
exec "$cli" "\$@"
EOF
chmod +x "$tmp/varigap-cli"
workflow_config plain "$tmp/plain" 200 "$cli" "${samples[@]}"
workflow_config killed "$tmp/killed" 200 "$tmp/varigap-cli" "${samples[@]}"
direct_run "$tmp/direct" "${samples[@]}"

step "a rule asking for $((cpus + 1)) CPUs stops the workflow at its start"
if slurm_run plain -n --set-threads analyze=$((cpus + 1)) >"$tmp/cpus.log" 2>&1; then
  fail "the workflow started"
fi
grep -q "rule analyze asks for $((cpus + 1)) CPUs and 2000 MB, but no node of SLURM partition check has" \
  "$tmp/cpus.log" || { cat "$tmp/cpus.log" >&2; fail "the message is missing"; }

step "two runs at once: every step a SLURM job; shard 1 of S1 killed at its time limit of one minute"
start=$(date +%s)
STALL_SHARD=S1/1 slurm_run killed --set-resources analyze:runtime=1 --restart-times 0 \
  >"$tmp/killed.log" 2>&1 &
killed_run=$!
# The other run uses the node while the stalled shard waits for its time limit.
while [[ ! -e $tmp/stalled ]]; do
  kill -0 $killed_run 2>/dev/null || { cat "$tmp/killed.log" >&2; fail "the shard did not stall"; }
  sleep 1
done
step "  shard 1 of S1 stalled after $(($(date +%s) - start)) s"
start=$(date +%s)
slurm_run plain >"$tmp/plain.log" 2>&1 || { cat "$tmp/plain.log" >&2; fail "the run"; }
step "  the run: $(($(date +%s) - start)) s, $(grep -cE '^(rule|checkpoint) ' "$tmp/plain.log") SLURM jobs"
same_tables "$tmp/direct" "$tmp/plain"
if wait $killed_run; then fail "the run with a killed shard succeeded"; fi
grep -q "SLURM status is: 'TIMEOUT'" "$tmp/killed.log" || { cat "$tmp/killed.log" >&2; fail "no TIMEOUT"; }
step "  the run with the killed shard failed (TIMEOUT)"
for f in analysis.tsv counts.tsv distinct.tsv; do [[ ! -e $tmp/killed/$f ]] || fail "$f was left behind"; done
[[ ! -e $tmp/killed/work/shards/S1/1/analysis.tsv ]] || fail "the killed shard's table was left behind"
done_before=$(find "$tmp/killed/work/shards" -name analysis.tsv | wc -l)

step "run again, it analyses only the shards it lacks"
start=$(date +%s)
slurm_run killed >"$tmp/again.log" 2>&1 || { cat "$tmp/again.log" >&2; fail "the rerun"; }
step "  $(($(date +%s) - start)) s"
[[ $(grep -c '^rule analyze:' "$tmp/again.log") -eq $((6 - done_before)) ]] && ! grep -q '^checkpoint split:' "$tmp/again.log" ||
  { cat "$tmp/again.log" >&2; fail "the rerun did not take up where the killed run stopped"; }
grep -q "wildcards: sample=S1, part=1" "$tmp/again.log" || fail "the killed shard was not analysed again"
same_tables "$tmp/direct" "$tmp/killed"

step "nothing is left running once the cluster is stopped"
stop_cluster
sleep 1
! pgrep -af -- "$tmp" >&2 || fail "processes of the check are left running (above)"
step "all passed in $(($(date +%s) - start_all)) s"
