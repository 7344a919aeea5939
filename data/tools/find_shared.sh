# Sourced by the data tools: sets $shared to the shared data folder (shared/data beside the
# repository or one of its parents, or $VARIGAP_SHARED), or fails.
shared=${VARIGAP_SHARED:-}
if [[ -z $shared ]]; then
  for d in "$root/.." "$root/../.." "$root/../../.."; do
    if [[ -f $d/shared/data/trnLF/features.tsv ]]; then shared=$(cd "$d/shared/data" && pwd); break; fi
  done
fi
[[ -n $shared && -f $shared/trnLF/features.tsv ]] || { echo "$(basename "$0"): shared/data not found (set VARIGAP_SHARED)" >&2; exit 2; }
