#!/usr/bin/env python3
"""Lists the entries of .ts files that still need a translation (one 'context | source' a line)."""
import sys
import xml.etree.ElementTree as ET

for path in sys.argv[1:]:
    for context in ET.parse(path).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            translation = message.find("translation")
            if translation is None or translation.get("type") in ("unfinished",) or not (translation.text or "").strip():
                print(f"{path}: {name} | {message.findtext('source')}")
