#!/usr/bin/env bash
# The plug-in library stands alone: it needs no library of the project at load time and leaves
# no symbol of the project for a host to supply.
set -euo pipefail
lib=$1
needed=$(readelf -d "$lib" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
bad_needed=$(grep -v -E '^(libc|libm|libgcc_s|libstdc\+\+|libdl|libpthread|libasan|libubsan|ld-linux)' <<<"$needed" || true)
if [ -n "$bad_needed" ]; then
  echo "libZOV_XS_PlugIns needs: $bad_needed"
  exit 1
fi
undefined=$(nm -D --undefined-only "$lib" | c++filt | grep -E 'zov::' || true)
if [ -n "$undefined" ]; then
  echo "libZOV_XS_PlugIns leaves these to the host:"
  echo "$undefined"
  exit 1
fi
echo "libZOV_XS_PlugIns needs only: $(tr '\n' ' ' <<<"$needed")"
