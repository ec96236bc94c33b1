#!/usr/bin/env python3
"""Marks every entry of a source-language catalogue as translated by its own source text."""
import sys
import xml.etree.ElementTree as ET

path = sys.argv[1]
tree = ET.parse(path)
for message in tree.getroot().iter("message"):
    source = message.find("source")
    translation = message.find("translation")
    if source is None or translation is None:
        continue
    if translation.get("type") == "unfinished" or not (translation.text or "").strip():
        translation.text = source.text
        translation.attrib.pop("type", None)
with open(path, "wb") as out:
    out.write(b'<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>\n')
    tree.write(out, encoding="utf-8", xml_declaration=False)
