"""ondarix-batch report and ondarix.report: the numbers are those of the
waves, spectrum and reflection commands with the same options, a file that
cannot be read is a row of a report still written, and the HTML needs
nothing from outside itself."""

import json
import math
import os
import re
import shutil

import pytest

import ondarix
from conftest import batch_reason

SPECTRUM_ROWS = {"Hm0": "Hm0", "Tp": "Tp", "Tp parabola": "Tp_parabola", "Tp5": "Tp5",
                 "TpD": "TpD", "Tm01": "Tm01", "Tm02": "Tm02"}
WAVE_ROWS = {"Waves": "count", "H1/3": "H1/3", "H1/10": "H1/10", "Hmax": "Hmax",
             "H2%": "H2%", "H1%": "H1%"}
REFLECTION_ROWS = {"Kr": "Kr", "Hm0 incident": "Hm0_incident",
                   "Hm0 reflected": "Hm0_reflected", "fmin": "fmin", "fmax": "fmax"}
RANGE = ["--from", "200", "--to", "4000", "--detrend", "linear"]
SPECTRAL = ["--segment", "512", "--fmin", "0.2"]


def table(chunk):
    """label -> value of the rows of a parameter table; None for '-'."""
    rows = re.findall(r'<tr><th>([^<]*)</th><td class="n">([^<]*)</td>', chunk)
    return {label: None if value == "-" else float(value) for label, value in rows}


def gauge_tables(html):
    """channel -> its table, from the sections "Channel C: ..."."""
    parts = re.split(r"<h3>Channel (\d+)", html)
    return {int(parts[i]): table(parts[i + 1].split("<h3>")[0]) for i in range(1, len(parts), 2)}


def expect_same(shown, expected, rows):
    for label, key in rows.items():
        want = expected[key]
        if want is None or not math.isfinite(want):
            assert shown[label] is None, label
        else:
            assert shown[label] == pytest.approx(want, rel=1e-5, abs=1e-12), label


def test_the_numbers_are_the_commands_own(batch, sample, tmp_path):
    out = tmp_path / "report.html"
    batch("report", sample, "-o", out, "--channels", "1,2,3", "--analyses",
          "waves,spectrum,reflection", "--positions", "0,0.3,0.9", "--depth", "0.5",
          "--threshold", "0.004", *RANGE, *SPECTRAL)
    html = out.read_text(encoding="utf-8")
    tables = gauge_tables(html)
    assert sorted(tables) == [1, 2, 3]
    for channel, shown in tables.items():
        spectrum = json.loads(batch("spectrum", sample, "--channel", channel, *RANGE, *SPECTRAL,
                                    "--json").stdout)
        waves = json.loads(batch("waves", sample, "--channel", channel, *RANGE,
                                 "--threshold", "0.004", "--json").stdout)
        expect_same(shown, spectrum, SPECTRUM_ROWS)
        expect_same(shown, waves, WAVE_ROWS)
    reflection = json.loads(batch("reflection", sample, "--channels", "1,2,3", "--positions",
                                  "0,0.3,0.9", "--depth", "0.5", *RANGE, *SPECTRAL, "--json").stdout)
    expect_same(table(html.split("<h3>Reflection</h3>")[1]), reflection, REFLECTION_ROWS)


def test_a_file_that_cannot_be_read_is_a_row_and_the_report_is_written(batch, sample, tmp_path):
    cut = tmp_path / "cut.INT"
    cut.write_bytes(open(sample, "rb").read()[:40])
    out = tmp_path / "report.pdf"
    done = batch("report", sample, cut, "-o", out, ok=False)
    assert done.returncode == 1
    assert "cut.INT" in batch_reason(done)
    assert out.read_bytes().startswith(b"%PDF-")
    html_out = tmp_path / "report.html"
    batch("report", sample, cut, "-o", html_out, ok=False)
    summary = html_out.read_text(encoding="utf-8").split("<section id=\"file0\">")[0]
    assert re.search(r'<td>cut\.INT</td><td>-</td><td colspan="8" class="failed">[^<]*cut\.INT',
                     summary)
    assert summary.count("<tr><td>flume_sample.INT</td>") == 4


def test_bad_arguments_are_usage_errors_that_write_nothing(batch, sample, tmp_path):
    out = tmp_path / "r.html"
    for args in (["--analyses", "waves,peaks"], ["--analyses", "reflection"],
                 ["--slope", "0.05"], ["--channels", "a"]):
        done = batch("report", sample, "-o", out, *args, ok=False)
        assert done.returncode == 2, args
    assert batch("report", sample, "-o", tmp_path / "r.txt", ok=False).returncode == 2
    assert not out.exists()


def test_the_html_needs_nothing_from_outside(batch, sample, tmp_path):
    out = tmp_path / "report.html"
    batch("report", sample, "-o", out)
    html = out.read_text(encoding="utf-8")
    assert "<script" not in html and "<link" not in html and "@import" not in html
    assert "url(" not in html
    # Images only as data inside the SVG, never a file or an address to fetch.
    for ref in re.findall(r'(?:href|src)="([^"]*)"', html):
        assert ref.startswith("data:image/"), ref[:40]
    svgs = re.findall(r"<svg [^>]*>", html)
    assert len(svgs) == 1 + 2 * 4  # the record, then a spectrum and exceedance a gauge
    for tag in svgs:
        width, height = re.search(r'width="(\d+)" height="(\d+)"', tag).groups()
        assert f'viewBox="0 0 {width} {height}"' in tag


def test_python_writes_the_report_and_returns_the_failures(sample, tmp_path):
    if "ONDARIX_BATCH" not in os.environ and not shutil.which("ondarix-batch"):
        pytest.fail("set ONDARIX_BATCH to the build's ondarix-batch")
    out = tmp_path / "r.html"
    assert ondarix.report(sample, out, channels=[1], analyses=["spectrum"], fmin=0.2) == []
    html = out.read_text(encoding="utf-8")
    assert "<h3>Channel 1" in html and "<h3>Channel 2" not in html
    assert "H1/3" not in html
    missing = tmp_path / "none.INT"
    failures = ondarix.report([sample, str(missing)], out)
    assert len(failures) == 1 and "none.INT" in failures[0]
    with pytest.raises(ValueError):
        ondarix.report(sample, out, analyses=["peaks"])
    with pytest.raises(ValueError):
        ondarix.report(sample, tmp_path / "r.txt")
    with pytest.raises(TypeError):
        ondarix.report(sample, out, channels=["1"])
    with pytest.raises(TypeError):
        ondarix.report(3, out)
    with pytest.raises(OSError):
        ondarix.report(sample, tmp_path / "no" / "r.html")
    with pytest.raises(OSError):
        ondarix.report(sample, out, target=missing)
    with pytest.raises(TypeError):
        ondarix.report(sample, out, target=3)


def test_a_target_table_is_compared_with_every_gauge(batch, sample, tmp_path):
    target = tmp_path / "target.TXT"
    batch("spectrum", sample, "--channel", "1", "-o", target)
    out = tmp_path / "report.html"
    batch("report", sample, "--channels", "1,2", "--target", target, "-o", out)
    tables = gauge_tables(out.read_text(encoding="utf-8"))
    # Gauge 1 against its own spectrum; gauge 2 against the same target.
    assert tables[1]["Hm0 target"] == tables[1]["Hm0"]
    assert tables[1]["Tp target"] == tables[1]["Tp"]
    assert tables[2]["Hm0 target"] == tables[1]["Hm0"]
    done = batch("report", sample, "--target", sample, "-o", tmp_path / "x.html", ok=False)
    assert done.returncode == 1 and "Target elevation" in batch_reason(done)
    assert not (tmp_path / "x.html").exists()
