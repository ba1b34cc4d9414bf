#!/usr/bin/env bash
# The Windows program, cross-built with mingw-w64 and tested under Wine on a virtual display.
# The 32-bit build is the exe that ships; how its programs run depends on the host:
#   native    the kernel runs i386 code: every Windows test of the 32-bit build, under a 32-bit
#             Wine in a 64-bit prefix with WOW64 as on today's Windows; the 64-bit build adds
#             what differs with the bitness.
#   emulated  it does not, but as root with binfmt_misc the i386 programs run under
#             qemu-i386-static: the tests of the 32-bit build that depend on the bitness (a
#             chosen part, for the time emulation takes), and the 64-bit build's whole suite.
#   none      neither: the 32-bit images are built and read back (check-pe.sh), none is run,
#             and the 64-bit build's whole suite runs, its scenario files included.
# VZ_WIN32_EXEC=native|emulated|none forces a way (unset or auto: the host decides). A missing
# capability takes the next way and says so; a failed test fails the run. Called by
# scripts/test.sh after the native build; installs what it needs.
set -euo pipefail
cd "$(dirname "$0")/.."
vz_build="$PWD/build"
source scripts/install-missing.sh
source scripts/i386-host.sh
install_features build display windows

# The tests of the 32-bit build that depend on its bitness, for a host that emulates it, where
# every start of a 32-bit program costs most of a minute: the unit tests where the x87/SSE2
# difference (the typed rates, the record's arithmetic), the Sysnative path and the table's
# native system folder show; the smoke test; the real exe's story over the 32-bit simulated
# card's DLL; the stories of the stored rates and a handful more on the Win32 host, in one
# start (tests/CMakeLists.txt names them). Left out of the unit tests: the cases that start
# programs of their own, hundreds of writers for the crash safety and a few for the temporary
# names, which depend on no bitness.
emulated_tests=(vz_platform_tests vz_format_tests vz_device_tests vz_timing_tests win32.smoke
    bitness.directshow_program bitness.win32_stories)
emulated_filter='-*CrashSafety*:Win32Files.LeftoversOfWriters*:Win32Files.TakenTemporaryNames*'
# Every wait and time limit of the emulated tests, that many times longer.
emulated_scale=10

vz_i386_probe
echo "i386 code on this host: $vz_i386 ($vz_i386_seen)"

forced="${VZ_WIN32_EXEC:-auto}"
case "$forced" in
    auto) ;;
    native | emulated | none) echo "VZ_WIN32_EXEC=$forced: the 32-bit exe is tested that way" ;;
    *) echo "error: VZ_WIN32_EXEC is '$forced'; it takes native, emulated, none or auto" >&2; exit 2 ;;
esac
way="$forced"
why=""
if [ "$way" = auto ]; then
    if [ "$vz_i386" = native ]; then way=native; else way=emulated; fi
fi
# A way this host cannot give: forced, it is an error; chosen here, the next way is taken.
cannot() {
    if [ "$forced" != auto ]; then
        echo "error: VZ_WIN32_EXEC=$forced, but $1" >&2
        exit 1
    fi
    echo "the 32-bit exe cannot be run here: $1"
    way=none
    why="$1"
}
if [ "$way" = native ] && [ "$vz_i386" != native ]; then
    cannot "this host runs no i386 code natively"
fi
if [ "$way" = emulated ]; then
    trap vz_emulation_stop EXIT
    vz_emulation_start || cannot "this host runs no i386 code and it cannot be emulated: $vz_emulation_why"
fi
if [ "$way" = none ] && [ -z "$why" ]; then
    why="VZ_WIN32_EXEC=none"
fi
# A Wine with a 32-bit half: the system's, apt's or a private one (it says which).
if [ "$way" != none ] && ! bash scripts/wine32.sh; then
    cannot "no 32-bit Wine could be had (see above)"
fi

# One prefix for both builds, made once (wine-run.sh): a 64-bit prefix with WOW64 runs the
# programs of either. Under emulation making it takes minutes of 32-bit setup programs, so it is
# made while the programs build.
prefix="$PWD/build/wineprefix"
prefix_log="$PWD/build/wineprefix.log"
prefix_pid=""
if [ "$way" = emulated ] && [ ! -f "$prefix/.vz-ready" ]; then
    scripts/wine-run.sh "$prefix" cmd /c exit </dev/null >"$prefix_log" 2>&1 &
    prefix_pid=$!
fi
scale=1
[ "$way" = emulated ] && scale=$emulated_scale
for preset in mingw-i686 mingw-x86_64; do
    cmake --preset "$preset" -DVUVEREZE_WERROR=ON -DVUVEREZE_WINEPREFIX="$prefix" \
        -DVUVEREZE_TEST_TIME_SCALE="$([ $preset = mingw-i686 ] && echo $scale || echo 1)"
    cmake --build --preset "$preset" -j "$(nproc)"
done
# The images that ship are read back on every host, whether or not they can be run here.
bash scripts/check-pe.sh build/mingw-i686/hosts/win32/Vuvereze.exe \
    build/mingw-i686/sim/directshow/vz_simcard.dll
echo "size of the 32-bit Vuvereze.exe: $(stat -c %s build/mingw-i686/hosts/win32/Vuvereze.exe) bytes (at most 2 MB)"
if [ -n "$prefix_pid" ]; then
    started=$SECONDS
    wait "$prefix_pid" || true
    echo "the Wine prefix under emulation: ready $((SECONDS - started)) s after the builds"
fi

# shellcheck source=wine-env.sh
source scripts/wine-env.sh
# A display for each of the two tests ctest runs at once (tests/CMakeLists.txt says why), and
# one wineserver for the whole run. A wineserver kept alive across the tests saves a second or
# so per program started, and the system's background programs it keeps (services.exe and the
# like) are started here with no output of ours, since a background program started by a test
# would hold ctest's pipe open.
display_files=("$(mktemp)" "$(mktemp)")
xvfb_pids=()
for file in "${display_files[@]}"; do
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$file" >/dev/null 2>&1 &
    xvfb_pids+=($!)
done
stop_windows() {
    WINEPREFIX="$prefix" "$wineserver" -k >/dev/null 2>&1 || true
    kill "${xvfb_pids[@]}" 2>/dev/null || true
    rm -f "${display_files[@]}"
    vz_emulation_stop
}
trap stop_windows EXIT
displays=()
for file in "${display_files[@]}"; do
    for _ in $(seq 50); do
        [ -s "$file" ] && break
        sleep 0.1
    done
    displays+=("$(head -n1 "$file")")
done
export DISPLAY=":${displays[0]}"
displays_spec="$PWD/build/displays.json"
printf '{ "version": { "major": 1, "minor": 0 }, "local": [ { "displays": [ { "id": "%s", "slots": 1 }, { "id": "%s", "slots": 1 } ] } ] }\n' \
    "${displays[@]}" >"$displays_spec"
scripts/wine-run.sh "$prefix" cmd /c exit </dev/null >/dev/null 2>&1
WINEPREFIX="$prefix" "$wineserver" -w
WINEPREFIX="$prefix" "$wineserver" -p </dev/null >/dev/null 2>&1
scripts/wine-run.sh "$prefix" cmd /c exit </dev/null >/dev/null 2>&1
# The 32-bit half must be there: without it every test of the exe that ships would fail alike.
if [ "$way" != none ]; then
    arch="$(scripts/wine-run.sh "$prefix" 'C:\windows\syswow64\cmd.exe' /c 'echo %PROCESSOR_ARCHITECTURE%' </dev/null 2>/dev/null | tr -d '\r')" || arch=""
    if [ "$arch" != x86 ]; then
        # Where the kernel runs i386 code and a 32-bit Wine is installed, that is a fault.
        [ "$way" = native ] && { echo "error: the prefix runs no 32-bit programs (WOW64 missing)" >&2; exit 1; }
        cannot "the Wine prefix runs no 32-bit program under emulation (WOW64: '${arch}')"
    fi
fi

# The tests of one build, then what ran: ctest's count, and the test cases inside the unit test
# programs (each program is one ctest test under Wine) as GoogleTest reported them.
run_suite() {
    local preset="$1"
    shift
    local out="build/$preset/ctest.out"
    # A real file dialog under Wine, with other tests' windows on the same desktop, now and then
    # does not close on its answer (one story in a few hundred): such a test gets a second run.
    local junit="$PWD/build/$preset/ctest-junit.xml"
    # The whole output of a passed test too: the count of its cases ends it.
    ctest --preset "$preset" -j 2 --repeat until-pass:2 --output-on-failure \
        --resource-spec-file "$displays_spec" --test-output-size-passed 4000000 \
        --output-junit "$junit" "$@" | tee "$out"
    local total cases programs stories
    total=$(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$out")
    programs=$(grep -Ec '^ *[0-9]+/[0-9]+ Test +#[0-9]+: vz_[a-z]+_tests .*Passed' "$out" || true)
    cases=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p' "$junit" |
        awk '{ s += $1 } END { print s + 0 }')
    stories=$(grep -Ec '^ *[0-9]+/[0-9]+ Test +#[0-9]+: scenario\.win32\.[a-z0-9_]+ .*Passed' "$out" || true)
    # ... and those played together in one start of the runner.
    stories=$((stories + $(awk '/<testcase name="bitness\.win32_stories"/ { inside = 1 }
        inside && /(^|>)PASS / { n++ } inside && /<\/testcase>/ { inside = 0 } END { print n + 0 }' "$junit")))
    suite_line="$preset under Wine: ${total:-?} ctest tests passed: $cases test cases in $programs unit test programs, $stories scenario files on the Win32 host"
    echo "$suite_line"
}
# A list of ctest test names as one anchored expression.
names_regex() {
    local IFS='|'
    echo "^($*)\$"
}

started=$SECONDS
case "$way" in
    native)
        # Every story was played one by one, so their one-start run is left out.
        run_suite mingw-i686 -E '^bitness\.'
        i686_line="$suite_line"
        # The 64-bit build adds what differs with the bitness: its unit tests, the DirectShow
        # stories and the device command; its scenario files (a Wine start each, minutes in
        # all) tell nothing the 32-bit run and the native one have not told.
        run_suite mingw-x86_64 -E '^(scenarios?|bitness)\.'
        ;;
    emulated)
        GTEST_FILTER="$emulated_filter" VZ_TEST_TIME_SCALE=$emulated_scale \
            VZ_SCENARIO_LINE_LIMIT_MS=$((20000 * emulated_scale)) \
            run_suite mingw-i686 -R "$(names_regex "${emulated_tests[@]}")"
        i686_line="$suite_line"
        i686_seconds=$((SECONDS - started))
        run_suite mingw-x86_64 -E '^bitness\.'
        ;;
    none)
        run_suite mingw-x86_64 -E '^bitness\.'
        ;;
esac

# The pictures of the exe's real windows in docs/screenshots, made anew on every run as the Qt
# host's are, and the figures of its start-up beside a minimal dialog program under Wine: the
# shipped exe's where it runs natively, else the 64-bit build's windows, which are the same.
shots=build/mingw-i686
[ "$way" = native ] || shots=build/mingw-x86_64
bash scripts/screenshots-windows.sh "$shots" "$prefix"
bench="$shots/bench/win32"
scripts/wine-run.sh "$prefix" "$bench/vz_startup_bench.exe" 10 \
    "$PWD/$shots/hosts/win32/Vuvereze.exe" Zeriveve \
    "$PWD/$bench/vz_minimal_dialog.exe" Minimal </dev/null || echo "start-up bench: no figures"

# The last lines say how the exe that ships was tested (and build/win32-exec.txt keeps them for
# the end of CI's output).
{
    echo "i386 code on this host: $vz_i386 ($vz_i386_seen)"
    echo "The 64-bit build: ${suite_line#*: }"
    case "$way" in
        native)
            echo "The 32-bit exe was tested natively: ${i686_line#*: }" ;;
        emulated)
            left=$(ctest --test-dir build/mingw-i686 -N | sed -n 's/^ *Test *#[0-9]*: //p' |
                grep -Ev "$(names_regex "${emulated_tests[@]}")" | grep -vc '^bitness\.' || true)
            echo "The 32-bit exe was tested emulated (qemu-i386, $i686_seconds s): ${i686_line#*: }." \
                "These ran: ${emulated_tests[*]}, their unit test cases but $emulated_filter." \
                "Left to a host that runs 32-bit code: those cases, the other $left ctest tests (the" \
                "stories one by one on the headless, Win32 and DirectShow hosts, the other unit test" \
                "programs, the whole DirectShow story, the version tests)." ;;
        none)
            echo "The 32-bit exe was not run: $why. Its images were built and read back" \
                "(check-pe.sh); the 64-bit build ran its whole suite instead." ;;
    esac
} | tee build/win32-exec.txt
