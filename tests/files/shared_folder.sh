#!/usr/bin/env bash
# Workstations sharing the program folder over the network append to its report at once.
#   shared_folder.sh <append_helper> smb|sftp [<workstations> <records each>]
# smb: a Samba server of its own on 127.0.0.1, the share mounted with smbnetfs (FUSE);
# sftp: an SSH server of its own on a loopback port, the folder mounted with sshfs (FUSE).
# Each workstation is a process with a host name of its own (unshare -u); for every record it
# takes its journal's lock, writes its journal, appends and removes the journal, as a ticket
# does. Every record must arrive whole and once, no append may fail, and no lock or journal
# may be left. Exit 77 (skipped) where the share cannot be set up: no root, no FUSE, no tools.
set -uo pipefail

helper=$1
kind=$2
workstations=${3:-8}
records=${4:-200}

skip() {
    echo "SKIP: $*"
    exit 77
}

[ "$(id -u)" -eq 0 ] || skip "mounting a share needs the superuser"
[ -c /dev/fuse ] || skip "there is no /dev/fuse"
command -v unshare >/dev/null || skip "unshare is not installed"
case $kind in
    smb) for tool in smbd smbnetfs; do command -v "$tool" >/dev/null || [ -x "/usr/sbin/$tool" ] || skip "$tool is not installed"; done ;;
    sftp) for tool in sshfs ssh-keygen; do command -v "$tool" >/dev/null || skip "$tool is not installed"; done
          [ -x /usr/sbin/sshd ] || skip "sshd is not installed" ;;
    *) echo "unknown kind of share: $kind"; exit 2 ;;
esac
unshare -u true 2>/dev/null || skip "this machine cannot give a process a host name of its own"

work=$(mktemp -d /tmp/tavring-share.XXXXXX)
mnt=$work/mnt
share=$work/share
mkdir -p "$mnt" "$share"
chmod 777 "$share"
server=

cleanup() {
    fusermount -u -z "$mnt" 2>/dev/null || umount -l "$mnt" 2>/dev/null
    [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

free_port() {
    local port
    for port in "$@"; do
        if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
            echo "$port"
            return 0
        fi
    done
    return 1
}

wait_for_port() {
    local i
    for i in $(seq 100); do
        (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

# Waits for the program folder to be seen through the mount.
wait_for() {
    local i
    for i in $(seq 100); do
        [ -d "$1" ] && return 0
        sleep 0.2
    done
    return 1
}

case $kind in
smb)
    # The Windows file service's own port: smbnetfs knows no other.
    port=$(free_port 445) || skip "port 445 of 127.0.0.1 is taken"
    mkdir -p "$work/samba"/{private,lock,state,cache,pid} "$work/home/.smb"
    cat >"$work/samba/smb.conf" <<EOF
[global]
    interfaces = 127.0.0.1
    bind interfaces only = yes
    smb ports = $port
    private dir = $work/samba/private
    lock directory = $work/samba/lock
    state directory = $work/samba/state
    cache directory = $work/samba/cache
    pid directory = $work/samba/pid
    ncalrpc dir = $work/samba/lock/ncalrpc
    log file = $work/samba/log.%m
    passdb backend = tdbsam:$work/samba/private/passdb.tdb
    map to guest = Bad User
    guest account = root
    server role = standalone server
    disable spoolss = yes
    load printers = no
    server min protocol = SMB2
[share]
    path = $share
    read only = no
    guest ok = yes
    force user = root
EOF
    printf '[global]\n    client min protocol = SMB2\n' >"$work/home/.smb/smb.conf"
    printf 'show_$_shares "true"\nauth "guest" ""\n' >"$work/home/.smb/smbnetfs.conf"
    chmod 600 "$work/home/.smb/smbnetfs.conf"
    # In a session of its own: smbd ends its whole process group when it stops.
    setsid /usr/sbin/smbd --foreground --no-process-group -s "$work/samba/smb.conf" >"$work/samba/smbd.out" 2>&1 &
    server=$!
    wait_for_port "$port" || { cat "$work/samba/smbd.out"; echo "smbd did not start"; exit 1; }
    HOME=$work/home smbnetfs "$mnt" || skip "smbnetfs could not mount"
    folder=$mnt/127.0.0.1/share/prog
    ;;
sftp)
    port=$(free_port 2222 2223 2224 2225) || skip "no free port for sshd"
    mkdir -p "$work/ssh" /run/sshd
    ssh-keygen -q -t ed25519 -N '' -f "$work/ssh/host"
    ssh-keygen -q -t ed25519 -N '' -f "$work/ssh/client"
    cp "$work/ssh/client.pub" "$work/ssh/authorized_keys"
    chmod 600 "$work/ssh/authorized_keys"
    cat >"$work/ssh/sshd_config" <<EOF
Port $port
ListenAddress 127.0.0.1
HostKey $work/ssh/host
AuthorizedKeysFile $work/ssh/authorized_keys
PermitRootLogin prohibit-password
PasswordAuthentication no
StrictModes no
UsePAM no
PidFile $work/ssh/sshd.pid
Subsystem sftp internal-sftp
EOF
    /usr/sbin/sshd -D -e -f "$work/ssh/sshd_config" >"$work/ssh/sshd.out" 2>&1 &
    server=$!
    wait_for_port "$port" || { cat "$work/ssh/sshd.out"; echo "sshd did not start"; exit 1; }
    sshfs -p "$port" -o "IdentityFile=$work/ssh/client,StrictHostKeyChecking=no,UserKnownHostsFile=/dev/null,BatchMode=yes" \
        "root@127.0.0.1:$share" "$mnt" || skip "sshfs could not mount"
    folder=$mnt/prog
    ;;
esac

mkdir -p "$share/prog/s"
wait_for "$folder/s" || { echo "the program folder is not seen through the $kind mount"; exit 1; }

echo "$workstations workstations append $records records each over $kind"
start=$(date +%s)
pids=()
for ws in $(seq 0 $((workstations - 1))); do
    unshare -u sh -c "hostname tavring-ws$ws && exec '$helper' --ticket '$folder' $ws $records" >"$work/out.$ws" 2>&1 &
    pids+=($!)
done
failed=0
for ws in $(seq 0 $((workstations - 1))); do
    wait "${pids[$ws]}"
    code=$?
    if [ "$code" -ne 0 ]; then
        echo "workstation $ws: $code appends failed"
        sort "$work/out.$ws" | uniq -c | head -5
        failed=1
    fi
done
echo "appended in $(($(date +%s) - start)) s"

# Read back on the server's own disk: what the share holds.
"$helper" --check "$share/prog" "$workstations" "$records" | head -20
[ "${PIPESTATUS[0]}" -eq 0 ] || failed=1
if [ "$failed" -ne 0 ]; then
    echo "FAIL: records over $kind were lost, damaged or refused"
    exit 1
fi
echo "every record whole and present once over $kind"
