#!/usr/bin/env bash
# Refreshes one set of translation catalogues from the sources that use it.
#   tools/i18n/update-ts.sh <name> <source files or folders...>
# writes resources/translations/<name>_zh_CN.ts, <name>_zh_TW.ts and <name>_en.ts.
# Names starting with "framework" form the window framework's catalogues, all others the
# application's. Source texts are Simplified Chinese, so the zh_CN catalogue is filled with the
# source texts themselves; the zh_TW and en entries are then translated by hand (no entry may stay
# "unfinished": tests/i18n checks it).
set -euo pipefail
cd "$(dirname "$0")/../.."
name=$1; shift
dir=resources/translations
for lang in zh_CN zh_TW en; do
  lupdate -silent -locations none -no-obsolete -source-language zh_CN -target-language "$lang" \
    -I src "$@" -ts "$dir/${name}_${lang}.ts"
done
python3 tools/i18n/fill_source_language.py "$dir/${name}_zh_CN.ts"
