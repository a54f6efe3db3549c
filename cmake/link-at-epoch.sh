#!/bin/sh
# Linker launcher of the Windows trees: the linker stamps the time of the
# source's last commit into the PE header instead of the clock's time.
# Usage: link-at-epoch.sh <epoch file> <linker command...>
epoch_file=$1
shift
if [ -r "$epoch_file" ]; then
  SOURCE_DATE_EPOCH=$(cat "$epoch_file")
  export SOURCE_DATE_EPOCH
fi
exec "$@"
