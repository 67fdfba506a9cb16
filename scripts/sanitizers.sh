# The clang builds that check the code as it runs: the unit tests under AddressSanitizer
# and UBSan in build-asan, the libFuzzer targets in build-fuzz. Sourced after common.sh.

sanitized_folder="$root/build-asan"
fuzz_folder="$root/build-fuzz"
fuzzers=(fuzz_decode fuzz_filters)

# Cheap checks beyond the defaults; an undefined behaviour prints its stack as it stops
# the program. Programs built without the sanitizers ignore both.
export ASAN_OPTIONS=check_initialization_order=1:detect_stack_use_after_return=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1

# Configures a clang build folder once, with the given options.
configure_clang() {
    local folder=$1
    shift
    [ -f "$folder/build.ninja" ] || cmake -S "$root" -B "$folder" -G Ninja \
        -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
}

# The generators that run during the build are sanitized too.
build_sanitized() {
    configure_clang "$sanitized_folder" -DVARNOCK_SANITIZE=ON
    build "$sanitized_folder"
}

# The unit tests: the end-to-end ones run the program of the main build, and the
# package's build is made of the same sources by the main run.
run_sanitized_tests() {
    echo "== Unit tests under AddressSanitizer and UBSan"
    (cd "$sanitized_folder" && ctest --output-on-failure --timeout 300 -j2 -L '^unit$')
}

build_fuzzers() {
    configure_clang "$fuzz_folder" -DVARNOCK_FUZZ=ON -DVARNOCK_BUILD_TESTS=OFF
    build "$fuzz_folder" "${fuzzers[@]}"
}

# Runs each fuzzer for the given seconds from its seed corpus in fuzz/corpus. The inputs
# it finds go to a scratch folder, so the committed seeds stay as they are. A crash shows
# the end of its report; the input that caused it and the whole log stay in build-fuzz.
run_fuzzers() {
    local seconds=$1 fuzzer log scratch status=0
    scratch=$(mktemp -d)
    for fuzzer in "${fuzzers[@]}"; do
        log="$fuzz_folder/$fuzzer.log"
        mkdir "$scratch/$fuzzer"
        echo "== $fuzzer for $seconds s"
        if "$fuzz_folder/fuzz/$fuzzer" -max_total_time="$seconds" -timeout=10 \
            -artifact_prefix="$fuzz_folder/$fuzzer-" \
            "$scratch/$fuzzer" "$root/fuzz/corpus/${fuzzer#fuzz_}" >"$log" 2>&1; then
            grep '^Done' "$log" || true
        else
            tail -n 60 "$log"
            echo "$fuzzer failed; its whole log is $log"
            status=1
        fi
    done
    rm -rf "$scratch"
    return $status
}
