# Whether this machine can run 32-bit code: the kernel (IA-32 emulation), then Wine's 32-bit
# loader. Both answer with a status and leave the reason in TELVOR_IA32_REASON.
# shellcheck shell=bash

# Runs a 96-byte i386 program that exits with 42: only a kernel that runs 32-bit code gets
# that far (one without answers the exec with ENOEXEC).
telvor_kernel_runs_ia32() {
  TELVOR_IA32_REASON=""
  local probe rc
  probe=$(mktemp "${TMPDIR:-/tmp}/telvor-ia32.XXXXXX") || return 1
  # ELF header (52 bytes), one loadable segment (32 bytes), code: mov eax,1; mov ebx,42; int 80h
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'\
'\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00'\
'\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'\
'\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00'\
'\x05\x00\x00\x00\x00\x10\x00\x00'\
'\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  timeout 5 "$probe" >/dev/null 2>&1
  rc=$?
  rm -f "$probe"
  [ $rc = 42 ] && return 0
  TELVOR_IA32_REASON="the kernel does not run 32-bit code"
  local line
  line=$(dmesg 2>/dev/null | grep -i -m1 -E 'ia-?32 emulation|32-bit emulation' | sed 's/^\[[^]]*\] *//')
  [ -n "$line" ] && TELVOR_IA32_REASON="$TELVOR_IA32_REASON ($line)"
  return 1
}

# Whether Wine runs the 32-bit program given (a console program of the 32-bit tree) through
# scripts/wine-run, exactly as the test tiers would: `expect` must appear in its output.
# On a fresh machine the first 32-bit Wine start builds the prefix template and warms Wine's
# caches, which can take longer than a case may: the template is built first, outside the
# probe's time bound, and a failed probe is tried once more before the 32-bit tier is given
# up. The probe's own output goes into the reason, so that a fallback says why.
telvor_wine_runs_ia32() {
  local runner=$1 exe=$2 expect=$3
  telvor_kernel_runs_ia32 || return 1
  if [ ! -x /usr/lib/wine/wine ]; then
    TELVOR_IA32_REASON="Wine's 32-bit loader is not installed (wine32:i386)"
    return 1
  fi
  local lib output attempt
  lib=$(dirname "${BASH_SOURCE[0]}")
  # shellcheck source=scripts/lib/wine-env.sh
  ( export TELVOR_WINE_BITS=32 && . "$lib/wine-env.sh" && telvor_ensure_template ) >/dev/null 2>&1
  for attempt in 1 2; do
    output=$(TELVOR_CASE_TIMEOUT=180 "$runner" --win32 "$exe" "${@:4}" 2>&1)
    grep -q -- "$expect" <<<"$output" && return 0
    [ "$attempt" = 1 ] && echo "ia32: the 32-bit probe failed once, trying again" >&2
  done
  TELVOR_IA32_REASON="Wine did not run the 32-bit $(basename "$exe"); it printed: $(tail -n 5 <<<"$output" | tr '\n' ' ')"
  return 1
}
