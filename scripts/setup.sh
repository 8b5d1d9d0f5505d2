#!/usr/bin/env bash
# Installs everything the project builds, runs and tests with (Debian 12).
# Safe to run again: nothing is installed when every package is present.
set -euo pipefail

PACKAGES=(
  build-essential g++ cmake pkg-config
  lld  # links vglyph with its function order
  clang libclang-rt-14-dev  # the fuzz targets (scripts/fuzz.sh)
  libgtest-dev libgmock-dev
  libfreetype-dev libfontconfig-dev fontconfig libcairo2-dev
  libpng-dev zlib1g-dev libbrotli-dev libexpat1-dev  # archives vglyph links the font libraries with
  fonts-liberation fonts-ocr-a fonts-ocr-b fonts-wqy-microhei fonts-dejavu-core fonts-urw-base35
  ghostscript zxing-cpp-tools zbar-tools libtiff-tools libwmf-bin emf2svg librsvg2-bin inkscape
  libuemf-dev libzxing-dev libgs-dev
  libwmf-dev libemf2svg-dev librsvg2-2 qpdf poppler-utils libxml2-utils  # the proof's metafile, SVG and PDF readers; the export checks
  qt6-base-dev
  locales desktop-file-utils man-db  # man-db: the manual page test
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
