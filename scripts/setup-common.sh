# Shared set-up of scripts/run and scripts/test: installs the Debian packages the
# build needs (only when some are missing) and configures the build folder.
set -euo pipefail

VEXA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VEXA_PACKAGES=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-webengine-dev qt6-webchannel-dev libqt6webenginecore6-bin
    libqt6opengl6-dev libgl-dev
    libzip-dev libgif-dev zlib1g-dev
    # The learning store: Qt's SQLite driver
    libqt6sql6-sqlite
    # Formulas of an imported catalogue: KaTeX run in Qt's JavaScript engine, its fonts
    qt6-declarative-dev libjs-katex fonts-katex
    # German texts in Qt's own dialogs
    qt6-translations-l10n
    fonts-liberation fonts-dejavu-core
    xvfb xauth
    # Program icon rendering; scripts/install-test: package build, desktop entry check,
    # window listing
    qt6-svg-dev dpkg-dev desktop-file-utils x11-utils
    # scripts/fuzz: clang with libFuzzer, the symbolizer for readable stacks, and jq
    # for seeds cut from the published catalogue
    clang libclang-rt-14-dev llvm-14 jq
    # scripts/check-format
    clang-format
)

vexa_install_packages() {
    local missing=()
    for p in "${VEXA_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

# The instrumented build of scripts/sanitize and scripts/fuzz: one clang build with ASan
# and UBSan holds the core tests, the build tools and the fuzz harnesses, so the core is
# compiled instrumented once for both checks.
VEXA_CHECK_BUILD="$VEXA_ROOT/build-check"
vexa_configure_checks() {
    local launcher=()
    if command -v ccache >/dev/null; then
        launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    CC=clang CXX=clang++ cmake -S "$VEXA_ROOT" -B "$VEXA_CHECK_BUILD" -DVEXA_SANITIZE=ON \
        -DVEXA_FUZZ=ON -DVEXA_BUILD_TESTS=ON "${launcher[@]}" >/dev/null
}

# WebEngine's sandbox cannot run as root.
vexa_runtime_env() {
    if [ "$(id -u)" -eq 0 ]; then
        export QTWEBENGINE_DISABLE_SANDBOX=1
    fi
}
