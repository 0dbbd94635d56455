#!/usr/bin/env bash
# Installs or uninstalls the staged INF in a Wine prefix and checks the result.
#   inf_test.sh PREFIX STAGEDIR install     DefaultInstall from STAGEDIR/lumacore.inf
#   inf_test.sh PREFIX STAGEDIR uninstall   the uninstall command the install registered
#
# Wine's 64-bit rundll32 runs the .NTamd64 sections, and its setupapi writes
# the 32-bit registry view through the explicit Wow6432Node key path the INF
# uses, so both views are checked. Registry value names are case-insensitive:
# vidc.2vuy/vidc.2Vuy and vidc.yuv2/vidc.yuV2 are one value each, and every
# lookup below folds case the way the registry does.
set -uo pipefail

if [ $# -ne 3 ] || { [ "$3" != install ] && [ "$3" != uninstall ]; }; then
  echo "usage: $0 PREFIX STAGEDIR install|uninstall" >&2
  exit 2
fi

here=$(cd "$(dirname "$0")" && pwd)
wine_env=$(cd "$here/../../.." && pwd)/scripts/wine-env.sh
prefix=$(realpath -m "$1")
stage=$(realpath -m "$2")
mode=$3
export WINEPREFIX=$prefix WINEDEBUG=-all

# The FourCCs the INF installs (the unit tests hold them to the catalogue).
mapfile -t fourccs < <(sed -n 's/^HKLM,%Drivers32%,"vidc\.\(....\)",0,%Driver%.*/\1/p' \
                         "$(dirname "$0")/../../../packaging/lumacore.inf")
if [ ${#fourccs[@]} -ne 20 ]; then
  echo "FAIL: the INF names ${#fourccs[@]} FourCCs, not 20"
  exit 1
fi
# What Windows maps these to on its own; uninstalling must put them back.
declare -A system_driver=([UYVY]=msyuv.dll [YUY2]=msyuv.dll [YVYU]=msyuv.dll
                          [I420]=iyuv_32.dll [IYUV]=iyuv_32.dll)

nt='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumacore'
# Checked with reg.exe's view switch, so this names each view as programs of
# that bitness see it, whatever path the INF used to write it.
views=(64 32)
windir=$prefix/drive_c/windows
sentinel=lumacore-inf-test

failures=0
pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

wine_run() { "$wine_env" "$prefix" run "$@"; }
wait_server() { wineserver -w 2>/dev/null || true; }
winpath() { wine_run winepath -w "$1" 2>/dev/null | tr -d '\r'; }

# reg_values KEY VIEW -> fills the associative array `values`, lower-cased
# name -> data, and `names`, lower-cased name -> name as stored.
# Returns 1 when the key does not exist.
declare -A values names
reg_values() {
  values=() names=()
  local out line re='^    (.+)    (REG_[A-Z_]+)(    (.*))?$'
  out=$(wine_run reg query "$1" "/reg:$2" 2>/dev/null | tr -d '\r') || return 1
  while IFS= read -r line; do
    if [[ $line =~ $re ]]; then
      values[${BASH_REMATCH[1],,}]=${BASH_REMATCH[4]}
      names[${BASH_REMATCH[1],,}]=${BASH_REMATCH[1]}
    fi
  done <<<"$out"
}

reg_import() { # .reg text on stdin
  local file
  file=$(mktemp "${TMPDIR:-/tmp}/lumacore-inf.XXXXXX.reg")
  cat >"$file"
  wine_run reg import "$(winpath "$file")" >/dev/null 2>&1
  local rc=$?
  rm -f "$file"
  return $rc
}

# Each view's Drivers32 and drivers.desc, as a .reg section header.
reg_view_key() { # VIEW SUBKEY
  if [ "$1" = 32 ]; then
    echo "[HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows NT\\CurrentVersion\\$2]"
  else
    echo "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\$2]"
  fi
}

check_prefix() {
  if [ ! -f "$prefix/system.reg" ]; then
    fail "no Wine prefix at $prefix (create it with scripts/wine-env.sh PREFIX init)"
    exit 1
  fi
}

# Runs a rundll32 command line, keeping its output for the failure report.
run_setup() { # PROGRAM ARGS...
  local log start ms
  log=$(mktemp "${TMPDIR:-/tmp}/lumacore-inf.XXXXXX.log")
  start=$(date +%s%N)
  wine_run "$@" >"$log" 2>&1
  local rc=$?
  wait_server
  ms=$((($(date +%s%N) - start) / 1000000))
  if [ $rc -ne 0 ]; then
    fail "$* exited with $rc"
    sed 's/^/    /' "$log"
  fi
  rm -f "$log"
  printf 'took %d.%01d s, the wineserver wait included\n' $((ms / 1000)) $((ms % 1000 / 100))
}

# ---------------------------------------------------------------- install

# A leftover of an earlier run must not pass for this INF's work.
clear_previous_install() {
  rm -f "$windir/system32/lumacore.dll" "$windir/syswow64/lumacore.dll" \
        "$windir/inf/lumacore.inf" "$windir/inf/lumacore.pnf"
  {
    echo REGEDIT4
    local view f
    for view in "${views[@]}"; do
      echo
      reg_view_key "$view" Drivers32
      for f in "${fourccs[@]}"; do echo "\"vidc.$f\"=-"; done
      echo
      reg_view_key "$view" drivers.desc
      echo '"lumacore.dll"=-'
    done
    echo
    echo "[-HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumacore]"
  } | reg_import || fail "could not clear an earlier install from the prefix"
}

check_file() { # INSTALLED STAGED WHAT
  if [ ! -f "$1" ]; then
    fail "$3: ${1#"$prefix"/} missing"
  elif ! cmp -s "$1" "$2"; then
    fail "$3: ${1#"$prefix"/} differs from the staged ${2##*/}"
  else
    pass "$3: ${1#"$prefix"/} = staged ${2##*/}"
  fi
}

check_installed_view() { # VIEW
  local view=$1 f n bad=0
  if ! reg_values "$nt\\Drivers32" "$view"; then
    fail "$view-bit view: no Drivers32 key"
    return
  fi
  for f in "${fourccs[@]}"; do
    n=vidc.${f,,}
    if [ "${values[$n]-}" != lumacore.dll ]; then
      fail "$view-bit view: vidc.$f = '${values[$n]-<missing>}', want lumacore.dll"
      bad=1
    fi
  done
  # Every value naming the driver must be one of ours (catches misspelt FourCCs).
  local known=" ${fourccs[*],,} "
  for n in "${!values[@]}"; do
    if [ "${values[$n],,}" = lumacore.dll ] && [[ $known != *" ${n#vidc.} "* || $n != vidc.* ]]; then
      fail "$view-bit view: unexpected value ${names[$n]} = lumacore.dll"
      bad=1
    fi
  done
  [ $bad = 0 ] && pass "$view-bit view: all ${#fourccs[@]} vidc.XXXX values = lumacore.dll" \
    "(stored as ${names[vidc.2vuy]} and ${names[vidc.yuv2]}; the case pairs share them)"

  if reg_values "$nt\\drivers.desc" "$view" && [[ ${values[lumacore.dll]-} == *Lumacore* ]]; then
    pass "$view-bit view: drivers.desc lumacore.dll = '${values[lumacore.dll]}'"
  else
    fail "$view-bit view: drivers.desc has no description of lumacore.dll"
  fi
}

check_uninstall_entry() {
  if ! reg_values "$uninstall_key" 64; then
    fail "no uninstall entry $uninstall_key"
    return
  fi
  local name want
  for name in "DisplayName=" "Publisher=Orvane Technologies Ltd" "DisplayVersion=2.9.18"; do
    want=${name#*=} name=${name%%=*}
    if [ -z "${values[${name,,}]-}" ] || { [ -n "$want" ] && [ "${values[${name,,}]}" != "$want" ]; }; then
      fail "uninstall entry: $name = '${values[${name,,}]-<missing>}'${want:+, want '$want'}"
    else
      pass "uninstall entry: $name = '${values[${name,,}]}'"
    fi
  done

  # The command must run DefaultUninstall from a copy of the INF that
  # outlives the staging folder.
  local cmd=${values[uninstallstring]-} re inf matched
  re='^(.*\\)?rundll32\.exe setupapi\.dll,InstallHinfSection DefaultUninstall 132 (.+)$'
  shopt -s nocasematch
  [[ $cmd =~ $re ]] && matched=1 || matched=0
  shopt -u nocasematch
  if [ $matched = 0 ]; then
    fail "uninstall entry: UninstallString = '$cmd'"
    return
  fi
  inf=$(wine_run winepath -u "${BASH_REMATCH[2]}" 2>/dev/null | tr -d '\r')
  if [ -n "$inf" ] && [ -f "$inf" ] && cmp -s "$inf" "$stage/lumacore.inf"; then
    pass "uninstall entry: UninstallString = '$cmd'"
  else
    fail "uninstall entry: '$cmd' names no installed copy of the INF"
  fi
}

do_install() {
  local f
  for f in lumacore.inf lumacore.dll lumacore32.dll; do
    [ -f "$stage/$f" ] || { fail "$stage/$f not staged (run stage.sh)"; exit 1; }
  done
  if [[ $stage == *' '* ]]; then
    # InstallHinfSection takes the rest of its command line as the path,
    # and Wine would quote a path with spaces.
    fail "staging folder '$stage' contains a space"
    exit 1
  fi

  clear_previous_install
  echo "installing from $stage"
  run_setup rundll32 setupapi.dll,InstallHinfSection DefaultInstall 132 "$(winpath "$stage/lumacore.inf")"

  check_file "$windir/system32/lumacore.dll" "$stage/lumacore.dll" "x64 driver"
  check_file "$windir/syswow64/lumacore.dll" "$stage/lumacore32.dll" "x86 driver"
  check_file "$windir/inf/lumacore.inf" "$stage/lumacore.inf" "INF copy"
  local view
  for view in "${views[@]}"; do check_installed_view "$view"; done
  check_uninstall_entry
}

# ---------------------------------------------------------------- uninstall

# A value of nobody's, next to ours: uninstalling must not take the key with
# it. set_sentinel '"untouched"' adds it, set_sentinel - removes it.
set_sentinel() {
  local view
  {
    echo REGEDIT4
    for view in "${views[@]}"; do
      echo
      reg_view_key "$view" Drivers32
      echo "\"$sentinel\"=$1"
    done
  } | reg_import || fail "could not set the test value $sentinel to $1"
}

check_uninstalled_view() { # VIEW
  local view=$1 f n want bad=0
  if ! reg_values "$nt\\Drivers32" "$view"; then
    fail "$view-bit view: the Drivers32 key is gone"
    return
  fi
  for f in "${fourccs[@]}"; do
    n=vidc.${f,,}
    want=${system_driver[$f]-}
    if [ -n "$want" ]; then
      if [ "${values[$n]-}" != "$want" ]; then
        fail "$view-bit view: vidc.$f = '${values[$n]-<missing>}', want $want restored"
        bad=1
      fi
    elif [ -n "${values[$n]+set}" ]; then
      fail "$view-bit view: vidc.$f = '${values[$n]}' left behind"
      bad=1
    fi
  done
  for n in "${!values[@]}"; do
    if [ "${values[$n],,}" = lumacore.dll ]; then
      fail "$view-bit view: ${names[$n]} still names lumacore.dll"
      bad=1
    fi
  done
  [ $bad = 0 ] && pass "$view-bit view: lumacore's values gone;" \
    "vidc.UYVY/YUY2/YVYU = msyuv.dll, vidc.I420/IYUV = iyuv_32.dll"
  if [ "${values[$sentinel]-}" = untouched ]; then
    pass "$view-bit view: other Drivers32 values kept"
  else
    fail "$view-bit view: uninstalling removed an unrelated Drivers32 value"
  fi

  if reg_values "$nt\\drivers.desc" "$view" && [ -n "${values[lumacore.dll]+set}" ]; then
    fail "$view-bit view: drivers.desc still describes lumacore.dll"
  else
    pass "$view-bit view: drivers.desc entry gone"
  fi
}

do_uninstall() {
  local cmd
  set_sentinel '"untouched"'
  if reg_values "$uninstall_key" 64 && [ -n "${values[uninstallstring]-}" ]; then
    cmd=${values[uninstallstring]}
    echo "uninstalling with: $cmd"
    # No path in it has a space (the check in the install test), so word
    # splitting gives rundll32 the command line it was registered with.
    # shellcheck disable=SC2086
    run_setup $cmd
  else
    echo "no uninstall entry: running DefaultUninstall from $stage"
    run_setup rundll32 setupapi.dll,InstallHinfSection DefaultUninstall 132 "$(winpath "$stage/lumacore.inf")"
  fi

  local f
  for f in system32/lumacore.dll syswow64/lumacore.dll inf/lumacore.inf; do
    if [ -e "$windir/$f" ]; then fail "windows/$f left behind"; else pass "windows/$f removed"; fi
  done
  local view
  for view in "${views[@]}"; do check_uninstalled_view "$view"; done
  if reg_values "$uninstall_key" 64; then
    fail "uninstall entry left behind"
  else
    pass "uninstall entry removed"
  fi
  set_sentinel -
}

check_prefix
"do_$mode"
if [ $failures -ne 0 ]; then
  echo "inf_test $mode: $failures check(s) FAILED"
  exit 1
fi
echo "inf_test $mode: all checks passed"
