# shellcheck shell=bash disable=SC2034 # the variables are for the scripts that source this
# Sourced by the VM scripts: what differs between the architectures the test
# VM boots. vm_arch ARCH sets, for a Debian architecture:
#   vm_qemu     the system emulator; vm_machine its machine options
#   vm_console  the kernel's serial console
#   vm_exit     1 when the guest hands its status to qemu's exit status
#               (isa-debug-exit), 0 when only its console line tells it
#   vm_user     the user-mode emulator that runs the architecture's programs
#               here (empty for this machine's own)
#   vm_gnu      the GNU triple, whose binutils strip the programs
#   vm_foreign  1 when the architecture is not this machine's; the guest's
#               programs then come from Debian's packages of that
#               architecture instead of from this machine
# apt_for_arch ARCH CACHE sets apt_opts, the options that make apt-get and
# apt-cache read the package lists of ARCH: this machine's own lists for its
# architecture, otherwise lists of their own in CACHE/apt-ARCH, read once,
# which leave dpkg's architectures and apt's state here untouched.
vm_arch() {
    vm_foreign=0
    [ "$1" = "$(dpkg --print-architecture)" ] || vm_foreign=1
    case $1 in
    amd64)
        vm_qemu=qemu-system-x86_64 vm_machine=(-cpu max) vm_console=ttyS0 vm_exit=1
        vm_gnu=x86_64-linux-gnu vm_user=qemu-x86_64-static ;;
    arm64)
        # cortex-a57 boots in a third of the time of -cpu max, whose pointer
        # authentication is slow to emulate; a second CPU only slows TCG.
        vm_qemu=qemu-system-aarch64 vm_machine=(-M virt -cpu cortex-a57 -smp 1) vm_console=ttyAMA0
        vm_exit=0 vm_gnu=aarch64-linux-gnu vm_user=qemu-aarch64-static ;;
    *)
        echo "vm: unknown architecture $1" >&2
        return 2 ;;
    esac
    [ "$vm_foreign" -eq 1 ] || vm_user=
}

apt_for_arch() {
    local arch=$1 dir
    apt_opts=()
    [ "$arch" = "$(dpkg --print-architecture)" ] && return 0
    mkdir -p "$2/apt-$arch"
    dir=$(cd "$2/apt-$arch" && pwd)
    apt_opts=(-o APT::Architecture="$arch" -o APT::Architectures::="$arch"
        -o Dir::State::Lists="$dir/lists" -o Dir::Cache="$dir/cache"
        -o Dir::State::Status="$dir/status")
    mkdir -p "$dir/lists/partial" "$dir/cache/archives/partial"
    [ -e "$dir/status" ] || : >"$dir/status"
    if ! compgen -G "$dir/lists/*_Packages" >/dev/null; then
        apt-get "${apt_opts[@]}" update -qq >&2
    fi
}
