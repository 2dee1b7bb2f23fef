#!/usr/bin/env bash
# Boots Debian's kernel in qemu with an initramfs built for one test run and
# returns the guest's exit status. Used by the test suite's "vm" tests.
# Usage: run-vm.sh --work DIR [--cache DIR] [--timeout SECONDS] [--arch ARCH]
#            [--append WORDS] --guest SCRIPT [build-initramfs.sh options...]
# The kernel (and, for another architecture than this machine's, the guest's
# programs) is fetched once into the cache (default DIR/cache) and reused
# offline afterwards. ARCH is a Debian architecture, amd64 or arm64; this
# machine's by default. --append adds words to the kernel's command line;
# NAME=VALUE words the kernel does not know reach /init's environment.
# Exit status: the guest's, 77 when qemu is not installed, 124 on timeout,
# 125 when the guest never reported. The guest runs under emulation;
# VK37_VM_ACCEL=kvm asks for KVM instead.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tools/vm/arch.sh
. "$here/arch.sh"

work='' cache='' timeout=300 arch=$(dpkg --print-architecture) append=''
pass=()
while [ $# -gt 0 ]; do
    case $1 in
    --work) work=$2; shift 2 ;;
    --cache) cache=$2; shift 2 ;;
    --timeout) timeout=$2; shift 2 ;;
    --arch) arch=$2; shift 2 ;;
    --append) append=$2; shift 2 ;;
    *) pass+=("$1"); shift ;;
    esac
done
[ -n "$work" ] || { echo "usage: $0 --work DIR [--cache DIR] --guest SCRIPT [...]" >&2; exit 2; }
mkdir -p "$work"
work=$(cd "$work" && pwd)
cache=${cache:-$work/cache}

vm_arch "$arch"
qemu=$(command -v "$vm_qemu") || {
    echo "run-vm: $vm_qemu is not installed; skipping" >&2
    exit 77
}

started=$(date +%s.%N)
elapsed() { echo "$(date +%s.%N) ${1:-$started}" | awk '{ printf "%.1f", $1 - $2 }'; }

prepared=$("$here/prepare-kernel.sh" "$cache" "$arch")
{ read -r root; read -r kernel; read -r sysroot || true; } <<<"$prepared"

"$here/build-initramfs.sh" --kernel-root "$root" --out "$work/initramfs.cpio" \
    --arch "$arch" ${sysroot:+--sysroot "$sysroot"} "${pass[@]}"
echo "run-vm: image ready after $(elapsed)s"

# Emulation unless asked otherwise: /dev/kvm can be present, pass a probe and
# still stop the guest part-way ("KVM internal error", emulation failure) on
# nested hosts, where qemu then hangs until the time-out. The guest boots in
# about 10 s under emulation, so KVM buys little.
accel=${VK37_VM_ACCEL:-tcg}
echo "run-vm: booting with $accel"

# The guest's status: where the machine has isa-debug-exit, qemu exits with
# 2 * status + 1; elsewhere (arm64's virt) only /init's last console line
# tells it, and the guest powers off.
exit_device=()
[ "$vm_exit" -eq 0 ] || exit_device=(-device "isa-debug-exit,iobase=0xf4,iosize=1")
reported="$work/guest-status"
rm -f "$reported"

# The serial console is passed through line by line, noting when the guest's
# /init starts: the boot time under emulation is worth watching.
booting=$(date +%s.%N)
set +e
timeout --foreground "$timeout" "$qemu" -accel "$accel" "${vm_machine[@]}" -m 512 -nodefaults \
    -display none -serial stdio -no-reboot "${exit_device[@]}" \
    -kernel "$kernel" -initrd "$work/initramfs.cpio" \
    -append "console=$vm_console panic=-1 oops=panic quiet${append:+ $append}" </dev/null |
    while IFS= read -r line || [ -n "$line" ]; do
        printf '%s\n' "$line"
        case ${line%$'\r'} in
        "vm: init started"*) echo "run-vm: booted in $(elapsed "$booting")s" ;;
        "vm: guest finished at "*", status "*) echo "${line##* }" | tr -d '\r' >"$reported" ;;
        esac
    done
rc=${PIPESTATUS[0]}
set -e
echo "run-vm: qemu ended after $(elapsed)s"

if [ "$rc" -eq 124 ]; then
    echo "run-vm: timed out after ${timeout}s" >&2
    exit 124
fi
if [ "$vm_exit" -eq 0 ] && [ "$rc" -eq 0 ] && [ -s "$reported" ]; then
    exit "$(cat "$reported")"
fi
# Anything else (an even exit status with isa-debug-exit) means the guest
# stopped without reporting: a panic, a power-off, qemu failing.
if [ "$vm_exit" -eq 0 ] || [ $((rc % 2)) -eq 0 ]; then
    echo "run-vm: the guest did not report a status (qemu exit $rc)" >&2
    exit 125
fi
exit $(((rc - 1) / 2))
