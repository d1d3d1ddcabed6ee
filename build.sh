#!/usr/bin/env bash
# Set-up, build and run on a fresh Debian machine.
#
#   ./build.sh example   build and run the Fortran example (the main job)
#   ./build.sh test      build and test native and i386, build the Windows
#                        DLLs and check their export tables
#   ./build.sh bench [family]
#                        run the benchmarks (of one family: trig, real16, ...)
#                        and rewrite their tables in docs/performance.md
#   ./build.sh sanitize  build and test with ASan and UBSan
#   ./build.sh accuracy [options]
#                        measure every function against MPFR beside glibc and
#                        libquadmath, rewrite docs/accuracy.md's tables and
#                        draw docs/accuracy/*.png (options go to the tool:
#                        --samples=N --samples16=N --only=REGEX --exhaustive)
#
# Installs the Debian packages it needs when they are missing (apt-get; as
# root or through sudo).
set -euo pipefail
cd "$(dirname "$0")"

native_packages=(cmake ninja-build g++ gfortran python3 libgtest-dev googletest
                 libbenchmark-dev libmpfr-dev libmpc-dev pkg-config)
i386_packages=(g++-multilib gfortran-multilib libmpfr-dev:i386 libmpc-dev:i386 qemu-user-static)
mingw_packages=(g++-mingw-w64-i686 gcc-mingw-w64-i686 binutils-mingw-w64-i686)
report_packages=(python3-matplotlib)

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

install_missing() {
  local missing=()
  for p in "$@"; do
    # A name installed for two architectures is ambiguous to dpkg -s: ask for
    # this machine's one then.
    dpkg -s "$p" >/dev/null 2>&1 || dpkg -s "$p:$(dpkg --print-architecture)" >/dev/null 2>&1 ||
      missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing: ${missing[*]}"
  if printf '%s\n' "${missing[@]}" | grep -q ':i386$'; then
    as_root dpkg --add-architecture i386
  fi
  # One i386 index of the security suite is sometimes out of sync; the
  # packages come from the main suite, so a failed update is not fatal.
  as_root apt-get update || echo "apt-get update reported errors; continuing"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

build_and_test() {
  cmake --preset "$1"
  cmake --build --preset "$1"
  ctest --preset "$1"
}

case "${1:-}" in
  example)
    install_missing "${native_packages[@]}"
    cmake --preset bench
    cmake --build --preset bench --target run_examples
    ;;
  test)
    install_missing "${native_packages[@]}" "${i386_packages[@]}" "${mingw_packages[@]}"
    build_and_test native
    build_and_test i386
    build_and_test mingw-i686
    ;;
  bench)
    install_missing "${native_packages[@]}"
    cmake --preset bench
    cmake --build --preset bench --target vexmorg_bench
    filter=.
    [ -n "${2:-}" ] && filter="^$2/"
    python3 tools/bench_report.py build/bench/bench/vexmorg_bench docs/performance.md \
      --filter "$filter"
    ;;
  sanitize)
    install_missing "${native_packages[@]}"
    build_and_test sanitize
    ;;
  accuracy)
    install_missing "${native_packages[@]}" "${report_packages[@]}"
    cmake --preset native
    cmake --build --preset native --target accuracy
    build/native/tools/accuracy/accuracy --doc=docs/accuracy.md \
      --plot=build/native/accuracy_plot.tsv "${@:2}"
    # Debian's interpreter, which has the matplotlib installed above.
    /usr/bin/python3 tools/accuracy/plot.py build/native/accuracy_plot.tsv docs/accuracy
    ;;
  *)
    sed -n '2,19p' "$0"
    exit 2
    ;;
esac
