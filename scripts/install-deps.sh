#!/usr/bin/env bash
# Installs the Debian packages that building, testing (the workflow: snakemake, seqkit, cutadapt), packaging,
# benchmarking, fuzzing and the SLURM check need, when missing.
# Usage: scripts/install-deps.sh [--bench|--fuzz|--slurm]   (run as root on Debian)
set -euo pipefail

packages=(g++ make cmake ninja-build pkg-config ccache clang-format libgtest-dev libgmock-dev libbenchmark-dev
          libhts-dev libisal-dev libedlib-dev qt6-base-dev qt6-svg-dev xvfb xauth git pandoc dpkg-dev file snakemake seqkit
          libjs-vega   # Vega, embedded in every HTML report at build time
          cutadapt)    # the workflow's demultiplexing of runs with tags
if [[ "${1:-}" == "--bench" ]]; then
  packages+=(hyperfine time)  # time: /usr/bin/time -v for peak memory
  # data/tools/measure_identification.sh: reads simulated by ART, identified by vsearch alongside.
  packages+=(art-nextgen-simulation-tools vsearch)
fi
if [[ "${1:-}" == "--fuzz" ]]; then
  packages+=(clang libclang-rt-14-dev)  # clang++ with libFuzzer and the sanitizer runtimes
fi
if [[ "${1:-}" == "--slurm" ]]; then
  # scripts/check-slurm.sh starts its own single-node cluster from these (no accounting database).
  packages+=(munge slurmctld slurmd)
fi

# The tests check GFF3 output with gt gff3validator and read the JSON summary with Python.
packages+=(genometools python3)
# scripts/check-report.sh opens the report in headless Chromium and checks the summary, BIOM and
# MultiQC outputs with the tools that read them.
packages+=(chromium multiqc python3-biom-format python3-jsonschema python3-pil)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if [[ $(id -u) -ne 0 ]]; then SUDO=sudo; else SUDO=; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
