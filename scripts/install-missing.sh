# Sourced by the install scripts: install_missing PACKAGE... installs, with apt-get, those of the
# Debian packages named that are not installed yet, and does nothing when all are.
install_missing() {
    local package status missing=()
    for package in "$@"; do
        status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
        [[ "$status" == "install ok installed" ]] || missing+=("$package")
    done
    if ((${#missing[@]} == 0)); then
        return 0
    fi
    echo "Installing: ${missing[*]}"
    local sudo=""
    [[ $(id -u) -eq 0 ]] || sudo=sudo
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends \
        "${missing[@]}"
}
