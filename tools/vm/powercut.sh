#!/usr/bin/env bash
# The power-cut test: boots the test VM on a scratch disk while the saver
# (tests/integration/powercut) saves the parameter file, kills qemu at a
# random moment of the saving, and lets the next boot check what the cut left
# before it saves again; a last boot only checks. The guest's page cache dies
# with qemu, while the disk, opened with cache=none, keeps what reached it.
# Usage: powercut.sh --work DIR [--cache DIR] --fs ext4|xfs --cuts N
#            --guest SCRIPT --saver PROGRAM
# VK37_POWERCUT_CUTS overrides --cuts; VK37_POWERCUT_SEED=N repeats a run's
# delays (the guest's own speed still varies). Exit status: 0 when every cut
# left the file whole and no older than its last flushed save, 1 otherwise,
# 77 when qemu is not installed.
set -euo pipefail
PATH=$PATH:/usr/sbin:/sbin
here=$(cd "$(dirname "$0")" && pwd)

work='' cache='' fs='' cuts=20 guest='' saver=''
while [ $# -gt 0 ]; do
    case $1 in
    --work) work=$2; shift 2 ;;
    --cache) cache=$2; shift 2 ;;
    --fs) fs=$2; shift 2 ;;
    --cuts) cuts=$2; shift 2 ;;
    --guest) guest=$2; shift 2 ;;
    --saver) saver=$2; shift 2 ;;
    *) echo "powercut: unknown argument $1" >&2; exit 2 ;;
    esac
done
if [ -z "$work" ] || [ -z "$guest" ] || [ -z "$saver" ]; then
    echo "usage: $0 --work DIR [--cache DIR] --fs ext4|xfs --cuts N --guest SCRIPT --saver PROGRAM" >&2
    exit 2
fi
case $fs in
ext4) mkfs=(mkfs.ext4 -q -F) ;;
xfs) mkfs=(mkfs.xfs -q -f) ;;
*) echo "powercut: --fs must be ext4 or xfs" >&2; exit 2 ;;
esac
mkdir -p "$work"
work=$(cd "$work" && pwd)
cache=${cache:-$work/cache}

qemu=$(command -v qemu-system-x86_64) || {
    echo "powercut: qemu-system-x86_64 is not installed; skipping" >&2
    exit 77
}
command -v "${mkfs[0]}" >/dev/null || { echo "powercut: ${mkfs[0]} is not installed" >&2; exit 1; }

cuts=${VK37_POWERCUT_CUTS:-$cuts}
seed=${VK37_POWERCUT_SEED:-$(($(od -An -N2 -tu2 /dev/urandom)))}
RANDOM=$seed
echo "powercut: $fs, $cuts cuts, seed $seed (VK37_POWERCUT_SEED=$seed repeats the delays)"

prepared=$("$here/prepare-kernel.sh" "$cache")
root=${prepared%%$'\n'*}
kernel=${prepared#*$'\n'}
# The Debian kernel builds both file systems and the virtio disk as modules.
"$here/build-initramfs.sh" --kernel-root "$root" --out "$work/initramfs.cpio" --guest "$guest" \
    --module virtio_pci --module virtio_blk --module "$fs" --binary "$saver"

# Sparse, so the size mkfs.xfs insists on costs nothing.
disk="$work/disk-$fs.img"
rm -f "$disk"
truncate -s 320M "$disk"
"${mkfs[@]}" "$disk" >/dev/null

# A whole save takes a few hundred milliseconds under emulation: the delays
# spread the cuts over several saves, their writes and flush requests.
max_delay_ms=1500
boot_timeout=180

# One boot: kind is first, next or last; acked and flushed tell the check
# what the cut before it interrupted. Sets acked and flushed anew (the last
# call the saver reported done, the last flush request it reported), verdict
# (the check's words), timed_out, and guest_status (how a boot that was not
# cut ended).
boot() {
    local kind=$1 delay_ms=$2
    local line='' partial='' now end deadline=0 killed=0 eof wait_us wait rc
    local limit=$((${EPOCHREALTIME/./} + boot_timeout * 1000000))
    verdict='' guest_status='' timed_out=0
    exec {console}< <(exec "$qemu" -accel "${VK37_VM_ACCEL:-tcg}" -cpu max -m 512 -nodefaults \
        -display none -serial stdio -no-reboot \
        -device isa-debug-exit,iobase=0xf4,iosize=1 \
        -drive "file=$disk,format=raw,if=none,id=scratch,cache=none" \
        -device virtio-blk-pci,drive=scratch \
        -kernel "$kernel" -initrd "$work/initramfs.cpio" \
        -append "console=ttyS0 panic=-1 oops=panic quiet vk37.fs=$fs vk37.boot=$kind vk37.acked=$acked vk37.flushed=$flushed" \
        </dev/null 2>&1)
    local pid=$!
    acked=0 flushed=0
    while :; do
        eof=0
        if [ $killed -eq 0 ]; then
            now=${EPOCHREALTIME/./}
            end=$limit
            [ $deadline -ne 0 ] && end=$deadline
            if [ "$now" -ge $end ]; then
                if [ $deadline -eq 0 ]; then
                    echo "powercut: the guest did not save or finish within ${boot_timeout}s" >&2
                    timed_out=1
                fi
                kill -KILL "$pid"
                killed=1
                continue
            fi
            wait_us=$((end - now))
            printf -v wait '%d.%06d' $((wait_us / 1000000)) $((wait_us % 1000000))
            rc=0
            IFS= read -r -t "$wait" -u "$console" line || rc=$?
            # A time-out keeps what it read of a line for the next read.
            [ $rc -gt 128 ] && { partial+=$line; continue; }
            [ $rc -ne 0 ] && eof=1
        else
            # What qemu passed on before it died was reported before the cut.
            IFS= read -r -u "$console" line || eof=1
        fi
        # The guest's terminal ends its lines with CR LF.
        line=${partial}${line%$'\r'} partial=''
        # What the cut left of a line is no report: "ack 12" may have been
        # on its way as "ack 123".
        [ $eof -eq 1 ] && line=${line:+"$line (cut off)"}
        case $line in
        '') ;;
        *" (cut off)") printf '%s\n' "$line" ;;
        "powercut: ack "*) acked=${line##* } ;;
        "powercut: flushed "*) acked=${line##* } flushed=${line##* } ;;
        "powercut: saving from"*)
            printf '%s\n' "$line"
            [ "$kind" = last ] || deadline=$((${EPOCHREALTIME/./} + delay_ms * 1000)) ;;
        "powercut: check "*)
            printf '%s\n' "$line"
            verdict=${line#powercut: check } ;;
        *) printf '%s\n' "$line" ;;
        esac
        [ $eof -eq 1 ] && break
    done
    exec {console}<&-
    set +e
    wait "$pid"
    rc=$?
    set -e
    # isa-debug-exit makes qemu exit with 2 * status + 1.
    if [ $killed -eq 0 ] && [ $((rc % 2)) -eq 1 ]; then
        guest_status=$(((rc - 1) / 2))
    elif [ $killed -eq 0 ]; then
        guest_status="none (qemu exit $rc)"
    fi
}

intact=0 rolled=0 failed=0 lost=0
# The verdict on the cut before this boot.
tally() {
    case $verdict in
    intact) intact=$((intact + 1)) ;;
    "rolled back by "*)
        rolled=$((rolled + 1))
        read -r -a words <<<"$verdict"
        if [ "${words[3]}" -gt "$lost" ]; then lost=${words[3]}; fi ;;
    *)
        failed=$((failed + 1))
        [ -n "$verdict" ] || echo "powercut: the boot after cut $1 gave no verdict" >&2 ;;
    esac
}

acked=0 flushed=0 broken=0
started=${EPOCHREALTIME/./}
for ((cut = 1; cut <= cuts; cut++)); do
    delay_ms=$((RANDOM % max_delay_ms))
    kind=next
    [ "$cut" -eq 1 ] && kind=first
    boot "$kind" "$delay_ms"
    [ "$kind" = first ] || tally $((cut - 1))
    if [ -n "$guest_status" ] || [ "$timed_out" -eq 1 ]; then
        # The saver stopped by itself, or never started: nothing more to cut.
        echo "powercut: boot $cut ended before its cut (guest status ${guest_status:-none})" >&2
        failed=$((failed + 1)) broken=1
        break
    fi
    echo "powercut: cut $cut after ${delay_ms} ms of saving: $acked calls done, the last flush request was call $flushed"
done
if [ "$broken" -eq 0 ]; then
    boot last 0
    tally "$cuts"
    if [ "$guest_status" != 0 ] && [ -n "$verdict" ] && [ "${verdict%%:*}" != FAILED ]; then
        echo "powercut: the last boot ended with status ${guest_status:-none}" >&2
        failed=$((failed + 1))
    fi
fi

echo "powercut: $fs: $cuts cuts in $(((${EPOCHREALTIME/./} - started) / 1000000)) s:" \
    "$intact intact, $rolled rolled back (at most $lost acknowledged writes lost), $failed failed"
[ "$failed" -eq 0 ] && [ $((intact + rolled)) -eq "$cuts" ]
