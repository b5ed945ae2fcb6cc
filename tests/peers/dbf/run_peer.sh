#!/bin/sh
# run_peer.sh PEER TOOL SCRIPT_DIR
# Exit 0 on success, 1 on a mismatch, 77 when the peer is not installed.
peer=$1 tool=$2 here=$3
# Debian's Python modules belong to the system interpreter, not to
# whichever python3 comes first on the PATH.
python=/usr/bin/python3
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT

need_module() {
    if ! [ -x "$python" ] || ! "$python" -c "import $1" 2>/dev/null; then
        echo "SKIP: $python with the module $1 is not installed (Debian package $2)"
        exit 77
    fi
}

case $peer in
dbfread)
    need_module dbfread python3-dbfread
    "$tool" write "$work/t" || exit 1
    "$python" "$here/check_dbfread.py" "$work/t" || exit 1
    ;;
dbfdump)
    if ! command -v dbfdump >/dev/null 2>&1; then
        echo "SKIP: dbfdump is not installed (Debian package shapelib)"
        exit 77
    fi
    need_module struct python3
    "$tool" write "$work/t" || exit 1
    dbfdump -r "$work/t.dbf" >"$work/dump.txt" || exit 1
    "$python" "$here/check_dbfdump.py" "$work/dump.txt" || exit 1
    ;;
pydbf)
    need_module dbf python3-dbf
    "$python" "$here/make_pydbf.py" "$work/p" >"$work/expected.txt" || exit 1
    "$tool" dump "$work/p" >"$work/actual.txt" || exit 1
    diff -u "$work/expected.txt" "$work/actual.txt" || exit 1
    ;;
structdb3)
    need_module struct python3
    "$python" "$here/make_struct_db3.py" "$work/s" >"$work/expected.txt" || exit 1
    "$tool" dump "$work/s" >"$work/actual.txt" || exit 1
    diff -u "$work/expected.txt" "$work/actual.txt" || exit 1
    ;;
*)
    echo "unknown peer $peer"
    exit 1
    ;;
esac
echo "PASS: $peer"
