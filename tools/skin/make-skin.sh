#!/usr/bin/env bash
# Redraws the skin's PNGs (runtime/skin, runtime/style/image, resources/trayIcon.png).
set -euo pipefail
cd "$(dirname "$0")/../.."
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
g++ -std=c++17 -O1 -fPIC tools/skin/drawskin.cpp -o "$out/drawskin" $(pkg-config --cflags --libs Qt5Gui)
QT_QPA_PLATFORM=offscreen "$out/drawskin" runtime resources/trayIcon.png
echo "skin images written"
