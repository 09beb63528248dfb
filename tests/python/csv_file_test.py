"""CSV files as pandas and Excel write them, read by ondarix.read and
ondarix-batch, and a measurement saved as CSV read back whole."""

import datetime

import numpy
import pandas
import pytest

import ondarix

from conftest import batch_reason

T = numpy.arange(200) / 20.0
GAUGES = {"gauge1": numpy.sin(T), "gauge2": numpy.cos(3 * T)}


def frame():
    return pandas.DataFrame({"time": T, **GAUGES})


@pytest.mark.parametrize(
    "write",
    [
        lambda df, p: df.to_csv(p),  # with pandas' index column
        lambda df, p: df.to_csv(p, index=False),
        lambda df, p: df.to_csv(p, sep=";", decimal=",", index=False),  # Excel in Europe
    ],
    ids=["default", "no-index", "semicolon-decimal-comma"],
)
def test_pandas_files_read_as_the_arrays_that_wrote_them(tmp_path, batch, write):
    path = tmp_path / "run.csv"
    write(frame(), path)
    m = ondarix.read(path)
    assert m.rate == pytest.approx(20.0, rel=1e-12)
    assert [c.name for c in m.channels] == list(GAUGES)
    for column, values in enumerate(GAUGES.values()):
        numpy.testing.assert_array_equal(m.real[:, column], values.astype(numpy.float32))
    info = batch("info", path).stdout
    assert "samples:     200" in info and "sample rate: 20" in info


def test_a_file_without_time_needs_its_rate(tmp_path, batch):
    path = tmp_path / "gauges.csv"
    pandas.DataFrame(GAUGES).to_csv(path, index=False)
    with pytest.raises(OSError, match="rate"):
        ondarix.read(path)
    assert ondarix.read(path, rate=20).rate == 20
    with pytest.raises(ValueError):
        ondarix.read(path, rate=-1)
    refused = batch("info", path, ok=False)
    assert refused.returncode == 1 and "--rate" in batch_reason(refused)
    assert "sample rate: 20" in batch("info", path, "--rate", "20").stdout
    assert batch("info", path, "--rate", "x", ok=False).returncode == 2


def test_saved_as_csv_a_measurement_reads_back_whole(tmp_path, sample, batch):
    m = ondarix.read(sample)
    path = tmp_path / "sample.csv"
    ondarix.write(m, path)
    back = ondarix.read(path)
    assert (back.name, back.date, back.rate) == (m.name, m.date, m.rate)
    assert back.channels == m.channels
    numpy.testing.assert_array_equal(back.real, m.real)
    # pandas reads it too, as a table with a time column.
    table = pandas.read_csv(path, comment="#")
    assert list(table.columns)[0] == "time [s]" and len(table) == len(m)
    # ondarix-batch converts from and to it.
    batch("convert", path, tmp_path / "again.INT")
    assert ondarix.read(tmp_path / "again.INT").channels == m.channels
    assert isinstance(back.date, datetime.datetime)


def test_pandas_gaps_and_unnamed_columns_read_as_pandas_reads_them(tmp_path):
    values = numpy.array([[0.5, numpy.nan, 2.0], [numpy.nan, 1e-50, 3.0], [4.0, 5.0, 6.0]])
    for index in (False, True):
        path = tmp_path / f"unnamed{index}.csv"
        pandas.DataFrame(values).to_csv(path, index=index)
        m = ondarix.read(path, rate=10)
        assert [c.name for c in m.channels] == ["0", "1", "2"]
        numpy.testing.assert_array_equal(m.real, values.astype(numpy.float32))
        table = pandas.read_csv(path, index_col=0 if index else None)
        numpy.testing.assert_array_equal(m.real, table.to_numpy(numpy.float32))


def test_names_come_back_from_ondarix_and_pandas_as_they_were(tmp_path):
    channels = [(" left ", "m"), ("", "cm"), ("a [x] b", "m"), ("level [m] (raw)", "?"),
                ("\u0141\u00f3d\u017a", "m")]
    m = ondarix.Measurement(numpy.ones((3, len(channels))), 20.0, name=" run ", channels=channels)
    path = tmp_path / "names.csv"
    ondarix.write(m, path)
    back = ondarix.read(path)
    assert back.name == " run "
    assert [(c.name, c.unit) for c in back.channels] == channels
    table = pandas.read_csv(path, comment="#")
    assert list(table.columns)[1:] == [f"{name} [{unit}]" for name, unit in channels]


def clock_frame(start, tz, freq="50ms"):
    """The gauges under a pandas DatetimeIndex named time."""
    index = pandas.date_range(start, periods=len(T), freq=freq, tz=tz, name="time")
    return pandas.DataFrame(GAUGES, index=index)


@pytest.mark.parametrize("tz", [None, "UTC", "Europe/Warsaw"])
def test_a_datetime_index_gives_the_rate_and_the_date(tmp_path, batch, tz):
    path = tmp_path / "clock.csv"
    # Across the spring clock change in Warsaw: the offsets keep the steps even.
    clock_frame("2026-03-29 01:59:55", tz).to_csv(path)
    m = ondarix.read(path)
    assert m.rate == pytest.approx(20.0, rel=1e-12)
    assert [c.name for c in m.channels] == list(GAUGES)
    numpy.testing.assert_array_equal(m.real[:, 0], GAUGES["gauge1"].astype(numpy.float32))
    # The clock as written, to the two seconds the measurement keeps.
    assert m.date == datetime.datetime(2026, 3, 29, 1, 59, 54)
    assert "sample rate: 20" in batch("info", path).stdout


def test_a_given_rate_stands_over_the_time_column_with_a_note(tmp_path, batch):
    path = tmp_path / "clock.csv"
    clock_frame("2026-03-04 10:15:00", None).to_csv(path)
    note = "the time column is ignored: the rate is 25 Hz as given"
    with pytest.warns(UserWarning, match=note):
        assert ondarix.read(path, rate=25).rate == 25
    done = batch("info", path, "--rate", "25")
    assert "sample rate: 25" in done.stdout
    assert done.stderr == f"ondarix-batch: note: {path}: {note}\n"
    assert batch("info", path).stderr == ""
