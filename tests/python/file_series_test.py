"""Analyses of several files in one ondarix-batch run: the --json list holds
what each file's own --json says, and the --table CSV reads in pandas and
Python's csv module with a row per file, failures in its error column."""

import csv
import json

import numpy
import pandas
import pytest

RATE = 20.0


def write_record(path, k, rows=3000):
    """A pandas CSV of two gauges whose waves change with k."""
    t = numpy.arange(rows) / RATE
    eta = (0.03 + 0.002 * k) * numpy.sin(2 * numpy.pi * t / (1.4 + 0.05 * k))
    eta += 0.004 * numpy.sin(2 * numpy.pi * t * 1.9 + k)
    pandas.DataFrame({"time": t, "east": eta, "west": 0.5 * eta}).to_csv(path, index=False)
    return str(path)


@pytest.fixture
def records(tmp_path):
    return [write_record(tmp_path / f"run{k:02d}.csv", k) for k in range(6)]


@pytest.mark.parametrize(
    "command",
    [
        ["waves", "--channel", "0,1"],
        ["spectrum", "--channel", "1", "--segment", "256"],
        ["stats", "--channel", "0", "--from", "100", "--to", "2000"],
        ["reflection", "--channels", "0,1", "--positions", "0,0.3", "--depth", "0.5"],
    ],
    ids=lambda c: c[0],
)
def test_each_row_of_the_list_is_the_files_own_json(batch, records, command):
    name, options = command[0], command[1:]
    rows = json.loads(batch(name, *records, *options, "--json").stdout)
    channels = options[options.index("--channel") + 1].split(",") if "--channel" in options else []
    assert [r["file"] for r in rows] == [p for p in records for _ in (channels or [None])]
    for row in rows:
        single = list(options)
        if channels:
            single[single.index("--channel") + 1] = str(row.pop("channel"))
        assert json.loads(batch(name, row.pop("file"), *single, "--json").stdout) == row


def test_the_table_reads_in_pandas_and_csv_with_failures_in_their_rows(batch, records, tmp_path):
    damaged = tmp_path / "damaged.csv"
    damaged.write_text("time,east\n0,1\n0.05,x\n0.1,2\n")
    named = tmp_path / "a, \"quoted\" name.csv"
    named.write_bytes(open(records[0], "rb").read())
    table = tmp_path / "table.csv"
    done = batch("waves", str(tmp_path / "run0*.csv"), damaged, tmp_path / "gone.csv", named,
                 "--table", table, ok=False)
    assert done.returncode == 1
    assert done.stderr == "ondarix-batch: 2 of 9 rows failed; their error column says why\n"
    frame = pandas.read_csv(table, keep_default_na=False)
    assert list(frame["file"]) == records + [str(damaged), str(tmp_path / "gone.csv"), str(named)]
    assert list(frame.columns[:4]) == ["file", "channel", "count", "mean"]
    assert frame["error"][6].startswith(str(damaged)) and frame["error"][7]
    assert frame["error"][8] == "" and frame["count"][8] == frame["count"][0]
    with open(table, newline="") as f:
        rows = list(csv.DictReader(f))
    assert [r["file"] for r in rows] == list(frame["file"])
    for row, k in zip(rows, range(6)):
        alone = json.loads(batch("waves", records[k], "--json").stdout)
        assert float(row["H1/3"]) == alone["H1/3"] and int(row["count"]) == alone["count"]


def test_files_read_in_child_processes_give_their_own_rows_side_by_side(batch, records, tmp_path):
    # HDF5 and MATLAB files are read by a child process each: several at once
    # from the workers must each come back whole and to its own row.
    paths = []
    for k, record in enumerate(records[:4]):
        for suffix in (".h5", ".mat"):
            paths.append(str(tmp_path / f"copy{k}{suffix}"))
            batch("convert", record, paths[-1])
    rows = json.loads(batch("spectrum", *paths, "--channel", "0", "--json").stdout)
    assert [r["file"] for r in rows] == paths
    for row in rows:
        row.pop("channel")
        alone = json.loads(batch("spectrum", row.pop("file"), "--json").stdout)
        assert row == alone
    assert rows[0]["Hm0"] == rows[1]["Hm0"] != rows[2]["Hm0"]
