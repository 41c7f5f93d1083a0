#!/usr/bin/env bash
# Builds the fuzz preset and runs the keyboard loader's fuzz target for
# SECONDS (default 60), then the language files' target for half as long, the
# registry file reader's for a third as long, and the tapora-sim script's, the
# module resources' and the kbf source reader's for a sixth each, on their
# seed corpora: generated keyboards plus the bundled ones when they are built.
# A crash leaves its input in build/fuzz/fuzz-artifacts/ and makes this script
# fail.
set -euo pipefail

seconds="${1:-60}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/fuzz"
cd "$root"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 --target fuzz_load_keyboard fuzz_make_seeds fuzz_language_files \
  fuzz_registry fuzz_sim_script fuzz_resources fuzz_kbf_source tapora_res
if cmake --build --preset fuzz -j2 --target bundled_keyboards >/dev/null 2>&1; then
  bundled=yes
else
  bundled=no
fi

seeds="$build/fuzz-seeds"
corpus="$build/fuzz-corpus"
artifacts="$build/fuzz-artifacts"
mkdir -p "$seeds" "$corpus" "$artifacts"
"$build/fuzz/fuzz_make_seeds" "$seeds"
if [ "$bundled" = yes ] && [ -d "$build/device" ]; then
  find "$build/device" -iname '*.kbf' -exec cp {} "$seeds/" \;
fi
# Regression inputs kept from earlier runs.
if [ -d "$root/tests/layout/regressions" ]; then
  find "$root/tests/layout/regressions" -type f -exec cp {} "$seeds/" \;
fi

# Runs one target for the given seconds on its corpus and seeds; a crash
# leaves its input in $artifacts and fails the script.
run_target() {
  local target=$1 time=$2 max_len=$3 target_corpus=$4 target_seeds=$5
  "$build/fuzz/$target" -max_total_time="$time" -max_len="$max_len" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts/" \
    "$target_corpus" "$target_seeds"
}

echo "fuzz_load_keyboard: $seconds s, $(ls "$seeds" | wc -l) seeds (bundled keyboards: $bundled)"
run_target fuzz_load_keyboard "$seconds" 8192 "$corpus" "$seeds"

# The language tree's text files: half the time, seeded with the bundled ones.
language_seeds="$build/fuzz-language-seeds"
language_corpus="$build/fuzz-language-corpus"
mkdir -p "$language_seeds" "$language_corpus"
cp "$root/keyboards/info" "$language_seeds/info"
cp "$root/keyboards/KBF.txt" "$language_seeds/KBF.txt"
language_seconds=$(( (seconds + 1) / 2 ))
echo "fuzz_language_files: $language_seconds s"
run_target fuzz_language_files "$language_seconds" 4096 "$language_corpus" "$language_seeds"

# The registry's file: a third of the time, seeded with small files of each form.
registry_seeds="$build/fuzz-registry-seeds"
registry_corpus="$build/fuzz-registry-corpus"
mkdir -p "$registry_seeds" "$registry_corpus"
printf 'REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\CLSID\\{1}\\InprocServer32]\r\n@="\\\\Windows\\\\x.dll"\r\n"ThreadingModel"="Apartment"\r\n\r\n' \
  >"$registry_seeds/clsid.reg"
printf 'REGEDIT4\n; comment\n[HKEY_LOCAL_MACHINE\\A]\n"d"=dword:0000001e\n"b"=hex:01,02,\\\n  03\n"m"=hex(7):61,00,00,00,00,00\n' \
  >"$registry_seeds/types.reg"
registry_seconds=$(( (seconds + 2) / 3 ))
echo "fuzz_registry: $registry_seconds s"
run_target fuzz_registry "$registry_seconds" 4096 "$registry_corpus" "$registry_seeds"

# tapora-sim's scripts: a sixth of the time, seeded with every command.
script_seeds="$build/fuzz-script-seeds"
script_corpus="$build/fuzz-script-corpus"
mkdir -p "$script_seeds" "$script_corpus"
printf '# taps\ninstall\nselect\nshow\ndown 10 20\nmove -3 4\nup 5 6\ntap 1 2\nwait 500\nhide\ndeselect\nuninstall\n' \
  >"$script_seeds/pen.txt"
printf 'press Shift\r\npress \xc3\xa9\r\nexpect-text a\\nb\\t\\\\\xf0\x9f\x98\x80\r\nexpect-text\r\nsnapshot out.png\r\n' \
  >"$script_seeds/text.txt"
printf 'options language="Name With Spaces" layout=L default-language=on default-layout=off typematic=on ok\noptions cancel\noptions deactivate\n' \
  >"$script_seeds/options.txt"
script_seconds=$(( (seconds + 5) / 6 ))
echo "fuzz_sim_script: $script_seconds s"
run_target fuzz_sim_script "$script_seconds" 4096 "$script_corpus" "$script_seeds"

# The module resource readers: a sixth of the time, seeded with the library's
# own compiled resources.
resource_seeds="$build/fuzz-resource-seeds"
resource_corpus="$build/fuzz-resource-corpus"
mkdir -p "$resource_seeds" "$resource_corpus"
cp "$build/resources/tapora/tapora.res" "$resource_seeds/"
resource_seconds=$(( (seconds + 5) / 6 ))
echo "fuzz_resources: $resource_seconds s"
run_target fuzz_resources "$resource_seconds" 8192 "$resource_corpus" "$resource_seeds"

# The kbf source reader: a sixth of the time, seeded with the bundled sources
# and the tests' own.
source_seeds="$build/fuzz-source-seeds"
source_corpus="$build/fuzz-source-corpus"
mkdir -p "$source_seeds" "$source_corpus"
cp "$root"/keyboards/*/*.yaml "$root"/tests/input/*.yaml "$source_seeds/"
source_seconds=$(( (seconds + 5) / 6 ))
echo "fuzz_kbf_source: $source_seconds s"
run_target fuzz_kbf_source "$source_seconds" 16384 "$source_corpus" "$source_seeds"
