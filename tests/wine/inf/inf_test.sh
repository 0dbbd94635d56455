#!/usr/bin/env bash
# Installs or uninstalls the staged INF in a Wine prefix and checks the result.
#   inf_test.sh PREFIX STAGEDIR install     DefaultInstall from STAGEDIR/lumacore.inf
#   inf_test.sh PREFIX STAGEDIR uninstall   the uninstall command the install registered
# Wine's 64-bit rundll32 runs the .NTamd64 sections; both registry views are
# checked through reg.exe's view switch. Registry value names ignore case, so
# every lookup below folds case (vidc.2vuy and vidc.2Vuy are one value).
set -uo pipefail
[ $# -eq 3 ] && [[ $3 == install || $3 == uninstall ]] || { echo "usage: $0 PREFIX STAGEDIR install|uninstall" >&2; exit 2; }

here=$(cd "$(dirname "$0")" && pwd)
wine_env=$here/../../../scripts/wine-env.sh
prefix=$(realpath -m "$1") stage=$(realpath -m "$2") mode=$3
export WINEPREFIX=$prefix WINEDEBUG=-all
[ -f "$prefix/system.reg" ] || { echo "FAIL: no Wine prefix at $prefix"; exit 1; }

mapfile -t fourccs < <(sed -n 's/^HKLM,%Drivers32%,"vidc\.\(....\)",0,%Driver%.*/\1/p' "$here/../../../packaging/lumacore.inf")
# What Windows maps these to on its own; uninstalling must put them back.
declare -A system_driver=([UYVY]=msyuv.dll [YUY2]=msyuv.dll [YVYU]=msyuv.dll [I420]=iyuv_32.dll [IYUV]=iyuv_32.dll)
nt='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumacore'
windir=$prefix/drive_c/windows
sentinel=lumacore-inf-test

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
wine_run() { "$wine_env" "$prefix" run "$@"; }
winpath() { wine_run winepath -w "$1" 2>/dev/null | tr -d '\r'; }
[ ${#fourccs[@]} -eq 20 ] || fail "the INF names ${#fourccs[@]} FourCCs, not 20"

# reg_values KEY VIEW: fills `values` (lower-cased name -> data); 1 when there is no such key.
declare -A values
reg_values() {
  values=()
  local out line re='^    (.+)    (REG_[A-Z_]+)(    (.*))?$'
  # A query that fails is asked once more: a Wine process start can fail under load.
  out=$(wine_run reg query "$1" "/reg:$2" 2>/dev/null | tr -d '\r') ||
    out=$(sleep 1; wine_run reg query "$1" "/reg:$2" 2>/dev/null | tr -d '\r') || return 1
  while IFS= read -r line; do [[ $line =~ $re ]] && values[${BASH_REMATCH[1],,}]=${BASH_REMATCH[4]}; done <<<"$out"
  return 0
}

# reg_set SUBKEY VALUE-LINES...: applies .reg lines to that key of both views.
reg_set() {
  local file view rc
  file=$(mktemp "${TMPDIR:-/tmp}/lumacore-inf.XXXXXX.reg")
  {
    echo REGEDIT4
    for view in '' "Wow6432Node\\"; do
      echo; echo "[HKEY_LOCAL_MACHINE\\Software\\${view}Microsoft\\Windows NT\\CurrentVersion\\$1]"
      printf '%s\n' "${@:2}"
    done
  } >"$file"
  wine_run reg import "$(winpath "$file")" >/dev/null 2>&1
  rc=$?
  rm -f "$file"
  [ $rc = 0 ] || fail "could not write the test's values into $1"
}

run_setup() {
  local out
  out=$(wine_run "$@" 2>&1) || { fail "$* exited with $?"; echo "$out" | sed 's/^/    /'; }
  wineserver -w 2>/dev/null || true
}

# Every view maps every FourCC of the INF to `want` (install) or to the
# system's own driver or nothing (uninstall), and no other value names ours.
check_view() { # VIEW
  local f n want
  reg_values "$nt\\Drivers32" "$1" || { fail "$1-bit view: no Drivers32 key"; return; }
  for f in "${fourccs[@]}"; do
    n=vidc.${f,,}
    want=lumacore.dll
    [ "$mode" = uninstall ] && want=${system_driver[$f]-}
    [ "${values[$n]-}" = "$want" ] || fail "$1-bit view: vidc.$f = '${values[$n]-}', want '$want'"
  done
  for n in "${!values[@]}"; do
    [[ ${values[$n],,} != lumacore.dll || ($mode = install && $n = vidc.* && " ${fourccs[*],,} " == *" ${n#vidc.} "*) ]] ||
      fail "$1-bit view: unexpected $n = ${values[$n]}"
  done
  if [ "$mode" = uninstall ]; then
    [ "${values[$sentinel]-}" = untouched ] || fail "$1-bit view: an unrelated Drivers32 value went"
  fi
  reg_values "$nt\\drivers.desc" "$1"
  [[ $mode = install && ${values[lumacore.dll]-} == *Lumacore* ]] || [[ $mode = uninstall && -z ${values[lumacore.dll]+set} ]] ||
    fail "$1-bit view: drivers.desc lumacore.dll = '${values[lumacore.dll]-}'"
}

if [ "$mode" = install ]; then
  # A leftover of an earlier run must not pass for this INF's work.
  rm -f "$windir"/{system32,syswow64}/lumacore.dll "$windir"/inf/lumacore.{inf,pnf}
  wine_run reg delete "$uninstall_key" /f >/dev/null 2>&1
  mapfile -t clear < <(printf '"vidc.%s"=-\n' "${fourccs[@]}")
  reg_set Drivers32 "${clear[@]}"
  reg_set drivers.desc '"lumacore.dll"=-'
  run_setup rundll32 setupapi.dll,InstallHinfSection DefaultInstall 132 "$(winpath "$stage/lumacore.inf")"

  for f in system32/lumacore.dll:lumacore.dll syswow64/lumacore.dll:lumacore32.dll inf/lumacore.inf:lumacore.inf; do
    cmp -s "$windir/${f%%:*}" "$stage/${f#*:}" || fail "windows/${f%%:*} is not the staged ${f#*:}"
  done
  check_view 64
  check_view 32

  # The uninstall command runs DefaultUninstall from the INF's installed copy.
  reg_values "$uninstall_key" 64 || fail "no uninstall entry"
  [ "${values[publisher]-}" = "Orvane Technologies Ltd" ] || fail "uninstall entry: Publisher = '${values[publisher]-}'"
  re='^(.*\\)?rundll32\.exe setupapi\.dll,InstallHinfSection DefaultUninstall 132 (.+)$'
  shopt -s nocasematch
  if [[ ${values[uninstallstring]-} =~ $re ]]; then
    inf=$(wine_run winepath -u "${BASH_REMATCH[2]}" 2>/dev/null | tr -d '\r')
    cmp -s "$inf" "$stage/lumacore.inf" || fail "the uninstall command names no installed copy of the INF"
  else
    fail "uninstall entry: UninstallString = '${values[uninstallstring]-}'"
  fi
else
  reg_set Drivers32 "\"$sentinel\"=\"untouched\""
  reg_values "$uninstall_key" 64
  # No path in it has a space, so word splitting gives rundll32 its command line.
  # shellcheck disable=SC2086
  if [ -n "${values[uninstallstring]-}" ]; then run_setup ${values[uninstallstring]}; else fail "no uninstall command"; fi

  for f in system32/lumacore.dll syswow64/lumacore.dll inf/lumacore.inf; do
    [ ! -e "$windir/$f" ] || fail "windows/$f left behind"
  done
  check_view 64
  check_view 32
  reg_values "$uninstall_key" 64 && fail "uninstall entry left behind"
  reg_set Drivers32 "\"$sentinel\"=-"
fi

[ $failures = 0 ] || { echo "inf_test $mode: $failures check(s) FAILED"; exit 1; }
echo "inf_test $mode: all checks passed"
