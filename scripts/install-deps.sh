#!/usr/bin/env bash
# Installs, on Debian 12 as root, every package that building, running and testing need.
# Idempotent and quiet: does nothing when everything is present.
set -euo pipefail
PACKAGES=(
  build-essential cmake pkg-config
  qtbase5-dev qtbase5-dev-tools libqt5serialport5-dev libqt5svg5-dev
  qttools5-dev qttools5-dev-tools qttranslations5-l10n
  protobuf-compiler libprotobuf-dev
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev ffmpeg
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev libgstrtspserver-1.0-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-plugins-ugly gstreamer1.0-libav
  libssl-dev openssl
  xvfb xauth openbox imagemagick xdotool fonts-wqy-microhei iputils-ping hyperfine python3
  # The sanitised build, libFuzzer and the symbolizer of their reports.
  clang libclang-rt-dev llvm
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]} (run as root to install them)" >&2
  exit 1
fi
echo "Installing ${#missing[@]} packages with apt-get (this takes a few minutes): ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
echo "  updating the package lists ..."
apt-get update -qq >/dev/null
echo "  downloading and installing ..."
apt-get install -y -qq "${missing[@]}" >/dev/null
echo "  done."
