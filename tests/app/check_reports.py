#!/usr/bin/env python3
"""Checks each report of a file, one whole JSON document or JSON Lines, against
the report schema, and against version 1's schema with only its format left
open, so that a reader of version 1 still finds every key it knows, as it
knew it.

Usage: check_reports.py SCHEMA SCHEMA_V1 REPORTS"""
import json
import sys

import jsonschema

schema, old, text = (json.load(open(sys.argv[1])), json.load(open(sys.argv[2])),
                     open(sys.argv[3]).read())
try:
    reports = [json.dumps(json.loads(text))]
except json.JSONDecodeError:
    reports = text.splitlines()
old["properties"]["format"] = {"type": "string"}
failures = 0
for number, line in enumerate(reports, 1):
    report = json.loads(line)
    for name, checked in (("hostlore-report/2", schema), ("version 1", old)):
        for error in jsonschema.Draft202012Validator(checked).iter_errors(report):
            failures += 1
            path = "/".join(str(part) for part in error.absolute_path)
            if failures <= 10:
                print(f"line {number} ({report.get('url')}), {name}: {path}: {error.message[:300]}")
print(f"{len(reports)} reports, {failures} failures")
sys.exit(1 if failures or not reports else 0)
