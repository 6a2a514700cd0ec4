#!/bin/sh
# Stands in for a shell: records how it was started into "$OMBRIX_PROBE_OUT" (argv one per
# line, a separator, the environment, a separator, the working directory and the process id),
# then prints a marker and keeps the terminal's child alive.
out=${OMBRIX_PROBE_OUT:?}
{
  printf '%s\n' "$0" "$@"
  printf '%s\n' '--env--'
  env
  printf '%s\n' '--pwd--'
  pwd
  printf '%s\n' '--pid--'
  echo $$
} >"$out.tmp"
mv "$out.tmp" "$out"
printf 'PROBE-READY\r\n'
exec cat
