#!/usr/bin/env bash
# The software-centre metadata and the desktop entry validate, and they name
# each other: the metadata's id and launchable are the desktop entry's name.
#   metadata.sh METAINFO DESKTOP
set -euo pipefail
metainfo=$1
desktop=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"

name=$(basename "$desktop")
id=${name%.desktop}
[ "$(basename "$metainfo")" = "$id.metainfo.xml" ] || fail "$metainfo is not named by the id $id"
grep -qF "<id>$id</id>" "$metainfo" || fail "the metadata's id is not $id"
grep -qF "<launchable type=\"desktop-id\">$name</launchable>" "$metainfo" ||
    fail "the metadata does not launch $name"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry's icon is not named $id"
