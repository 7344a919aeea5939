#!/usr/bin/env bash
# Checks what an installation gets from build folder $1 (default build):
#   - cmake --install into a temporary prefix puts every file in its place;
#   - the installed varigap-cli gives the same analysis of the bundled example as the build's;
#   - the manual page names every option of varigap-cli --help;
#   - the installed desktop program, offscreen, finds its help chapters, and with its folder
#     read-only saves settings to the configuration folder ($XDG_CONFIG_HOME, a temporary one);
#   - the Debian package: contents and dependencies, and varigap-cli --version run from it.
# Usage: scripts/check-install.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp" 2>/dev/null; rm -rf "$tmp"' EXIT
chmod 755 "$tmp"  # the unprivileged run below reads the prefix from here

check=check-install
source scripts/check-helpers.sh  # the working folder is the project's

cmake --build "$build" >"$tmp/build.log" 2>&1 || { cat "$tmp/build.log" >&2; fail "cmake --build $build"; }

step "install to a temporary prefix"
prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/share/varigap
for f in bin/varigap bin/varigap-cli share/varigap/VarigapHelp{0..6}.txt share/varigap/Varigap{Params,Options}.txt \
         share/varigap/examples/{trnLF.tpl,sequences.fasta,poaceae_intron.txt} \
         share/man/man1/varigap.1.gz share/man/man1/varigap-cli.1.gz \
         share/applications/varigap.desktop share/icons/hicolor/scalable/apps/varigap.svg \
         share/bash-completion/completions/varigap-cli; do
  [[ -f $prefix/$f ]] || fail "cmake --install did not install $f"
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/varigap.desktop" || fail "varigap.desktop is not valid"
fi

# An empty configuration folder of our own: the user's settings must not change the outputs.
export XDG_CONFIG_HOME=$tmp/config
mkdir -p "$XDG_CONFIG_HOME"

step "installed varigap-cli on the bundled example = the build folder's"
for format in text tsv; do
  "$prefix/bin/varigap-cli" analyze "$share/examples/trnLF.tpl" "$share/examples/sequences.fasta" \
    --ranking --format $format >"$tmp/installed.$format"
  "$build/varigap-cli" analyze data/example/trnLF.tpl data/example/sequences.fasta \
    --ranking --format $format >"$tmp/built.$format"
  same "$tmp/built.$format" "$tmp/installed.$format" "the installed varigap-cli analyses differently ($format)"
done
[[ $(wc -l <"$tmp/installed.text") -gt 50 ]] || fail "the analysis of the example is too short"
"$prefix/bin/varigap-cli" --help | grep -qF "parameters: $share/VarigapParams.txt" ||
  fail "the installed varigap-cli --help does not name the installed settings"

step "the manual pages: every option of varigap-cli --help is in varigap-cli(1)"
page=$(gzip -dc "$prefix/share/man/man1/varigap-cli.1.gz" | sed 's/\\-/-/g')
for option in $("$build/varigap-cli" --help | grep -oE -- '(^|[ ,[])--?[a-z][a-z-]*' | sed 's/^[ ,[]//' | sort -u); do
  grep -qF -- "$option" <<<"$page" || fail "varigap-cli(1) does not document $option"
done
if command -v man >/dev/null; then
  for p in varigap varigap-cli; do
    warnings=$(MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/$p.1.gz" 2>&1 >/dev/null) || true
    [[ -z $warnings ]] || fail "$p(1) does not format cleanly: $warnings"
  done
fi

step "installed desktop program, offscreen, read-only program folder"
# Root writes into read-only folders all the same; run as a user without rights there, as a
# lab's users are on an installed copy.
runas=()
if [[ $(id -u) -eq 0 ]]; then
  runas=(setpriv --reuid="$(id -u nobody)" --regid="$(id -g nobody)" --clear-groups)
fi
check_gui() {  # check_gui PROGRAM CONFIG_DIR: runs --check-install, output in $tmp/gui.out
  local runtime=$tmp/runtime-$RANDOM
  mkdir -p "$2" "$runtime"
  chmod 700 "$runtime"
  if ((${#runas[@]})); then chown -R nobody "$2" "$runtime"; fi
  if ! "${runas[@]}" env QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$runtime" HOME="$2" XDG_CONFIG_HOME="$2" \
      "$1" --check-install >"$tmp/gui.out" 2>"$tmp/gui.err"; then
    cat "$tmp/gui.out" "$tmp/gui.err" >&2
    fail "$1 --check-install"
  fi
}
expect_gui() {  # expect_gui HELP_DIR SAVED_FILE
  for i in 0 1 2 3 4 5 6; do
    grep -qxF "help chapter $i: $1/VarigapHelp$i.txt" "$tmp/gui.out" || { cat "$tmp/gui.out" >&2; fail "help chapter $i"; }
  done
  grep -qxF "options saved: $2" "$tmp/gui.out" || { cat "$tmp/gui.out" >&2; fail "options not saved to $2"; }
  [[ -f $2 ]] || fail "no $2"
}
chmod -R a+rX,a-w "$prefix"
(cd "$prefix" && find . -printf '%p %s %T@\n' | sort) >"$tmp/prefix.before"
check_gui "$prefix/bin/varigap" "$tmp/gui-config"
expect_gui "$share" "$tmp/gui-config/varigap/VarigapOptions.txt"

# A copy that keeps its settings beside it, on a folder nobody may write to.
portable=$tmp/portable
mkdir "$portable"
cp "$prefix/bin/varigap" "$share"/Varigap*.txt "$portable/"
chmod -R a+rX,a-w "$portable"
check_gui "$portable/varigap" "$tmp/portable-config"
expect_gui "$portable" "$tmp/portable-config/varigap/VarigapOptions.txt"
(cd "$prefix" && find . -printf '%p %s %T@\n' | sort) >"$tmp/prefix.after"
same "$tmp/prefix.before" "$tmp/prefix.after" "the program wrote into its read-only installed folder"

step "Debian package"
rm -f "$build"/package/varigap_*.deb
(cd "$build" && cpack -G DEB >"$tmp/cpack.log" 2>&1) || { cat "$tmp/cpack.log" >&2; fail "cpack -G DEB"; }
debs=("$build"/package/varigap_*.deb)
deb=${debs[0]}
[[ -f $deb ]] || fail "cpack made no .deb"
dpkg-deb -I "$deb" >"$tmp/deb.info"
depends=$(sed -n 's/^ Depends: //p' "$tmp/deb.info")
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
  sed 's/ *([^)]*)//g; s/, */\n/g' <<<"$depends" | grep -qxF "$lib" || fail "the package does not depend on $lib: $depends"
done
dpkg-deb -c "$deb" | awk '{print $NF}' >"$tmp/deb.contents"
for f in usr/bin/varigap usr/bin/varigap-cli usr/share/varigap/VarigapHelp0.txt usr/share/varigap/VarigapParams.txt \
         usr/share/varigap/examples/trnLF.tpl usr/share/man/man1/varigap-cli.1.gz usr/share/man/man1/varigap.1.gz \
         usr/share/applications/varigap.desktop usr/share/icons/hicolor/scalable/apps/varigap.svg \
         usr/share/bash-completion/completions/varigap-cli; do
  grep -qxF "./$f" "$tmp/deb.contents" || fail "the package lacks /$f"
done
dpkg-deb -x "$deb" "$tmp/deb"
version=$("$tmp/deb/usr/bin/varigap-cli" --version)
[[ $version == "$("$build/varigap-cli" --version)" && $version == "varigap-cli "[0-9]* ]] ||
  fail "varigap-cli --version from the package says \"$version\""
"$tmp/deb/usr/bin/varigap-cli" analyze "$tmp/deb/usr/share/varigap/examples/trnLF.tpl" \
  "$tmp/deb/usr/share/varigap/examples/sequences.fasta" --ranking >"$tmp/deb.text"
same "$tmp/built.text" "$tmp/deb.text" "varigap-cli from the package analyses differently"

step "all passed ($(basename "$deb"), Depends: $depends; $version)"
