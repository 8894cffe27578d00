#!/usr/bin/env python3
"""Message by message: every event the simulator saw acknowledged is in the station's history and, when
it waits for an operator, on the pending stack or in its backlog.

Usage: check-acknowledged.py SIM.json HISTORY.jsonl STACKED.jsonl [STACKED.jsonl ...]

SIM.json: the simulator's --json summary (its last line), with "acknowledged_events".
HISTORY.jsonl: `duriduvaze-cli history-dump ... history` of the month.
STACKED.jsonl: `history-dump stack` or `history-dump backlog` output, one file for each look taken (before
and after the operators emptied the stack, the backlog): an event counts as presented when any of them
holds one of its history records.
Prints one line per problem and a summary; exit status 1 when an acknowledged event is missing.
"""
import json
import re
import sys


def lines(path):
    with open(path, encoding="utf-8") as f:
        return [json.loads(line) for line in f if line.strip()]


def main():
    if len(sys.argv) < 4:
        print(__doc__)
        return 2
    with open(sys.argv[1], encoding="utf-8") as f:
        summary = json.loads(f.read().strip().splitlines()[-1])
    history = lines(sys.argv[2])
    presented = set()
    for path in sys.argv[3:]:
        presented.update(entry["record"] for entry in lines(path) if entry["record"] >= 0)

    # An event line is "account code ..." inside the description (an unknown account keeps the whole
    # line between brackets); leading zeros of the account are not significant to the station.
    by_line = {}
    for record in history:
        for m in re.finditer(r"(?<![0-9])0*([0-9]+) ([0-9A-Za-z]+)", record["Description"]):
            by_line.setdefault((m.group(1), m.group(2)), []).append(record)

    acknowledged = summary.get("acknowledged_events", [])
    lost = not_presented = duplicated = 0
    for event in acknowledged:
        key = (event["account"].lstrip("0") or "0", event["code"])
        records = by_line.get(key, [])
        if not records:
            lost += 1
            print(f"LOST: event {event['id']} ({key[0]} {key[1]}) acknowledged and not in the history")
            continue
        duplicated += len(records) - 1
        waits = [r for r in records if not r["AutoHandled"]]
        if waits and not any(r["record"] in presented for r in waits):
            not_presented += 1
            print(f"NOT STACKED: event {event['id']} ({key[0]} {key[1]}) records "
                  f"{[r['record'] for r in waits]} neither on the stack nor in its backlog")
    print(f"check-acknowledged: {len(acknowledged)} acknowledged, {len(history)} records, "
          f"{duplicated} resent copies, {lost} lost, {not_presented} not stacked")
    return 1 if lost or not_presented or not acknowledged else 0


if __name__ == "__main__":
    sys.exit(main())
