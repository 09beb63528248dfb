"""Names and paths between files and Python: names in Windows-1250 or UTF-8
read as the desktop program shows them and are stored as it stores them;
paths of any bytes read as os.fsdecode gives them."""

import os

import numpy
import pytest

import ondarix

# "Pomiar" and "cm" stand for names the test replaces byte for byte in a file.
PLACEHOLDER_NAME = b"Pomiar AAAAA"
PLACEHOLDER_CHANNEL = b"Kanal BBBB"


def patched_int(tmp_path, replacements):
    """A .INT written by the program whose name bytes are then replaced, length for length."""
    m = ondarix.Measurement(numpy.arange(8.0), 10.0, name=PLACEHOLDER_NAME.decode(),
                            channels=[(PLACEHOLDER_CHANNEL.decode(), "cm")])
    path = tmp_path / "names.INT"
    ondarix.write(m, str(path))
    data = path.read_bytes()
    for old, new in replacements:
        assert len(old) == len(new) and data.count(old) == 1
        data = data.replace(old, new)
    path.write_bytes(data)
    return path


def test_windows_1250_names_read_as_the_desktop_shows_them(tmp_path):
    # "łąka" and "ściek" in Windows-1250.
    path = patched_int(tmp_path, [(b"AAAAA", b"\xb3\xb9ka "), (b"BBBB", b"\x9c\x63ie")])
    m = ondarix.read(str(path))
    assert m.name == "Pomiar łąka "
    assert m.channels[0].name == "Kanal ście"
    assert "łąka" in repr(m)


def test_a_name_cut_inside_a_utf8_character_reads_as_windows_1250(tmp_path):
    # A UTF-8 "ą" (C4 85) whose second byte a full field cut off: not UTF-8
    # any more, so the whole name reads as Windows-1250, C4 as "Ä".
    path = patched_int(tmp_path, [(b"BBBB", b"ab\xc4\x85"), (b"AAAAA", b"xyz\xc4\x85")])
    m = ondarix.read(str(path))
    assert m.channels[0].name == "Kanal abą"  # whole UTF-8 stays UTF-8
    data = path.read_bytes().replace(b"xyz\xc4\x85", b"xyza\xc4")
    path.write_bytes(data)
    assert ondarix.read(str(path)).name == "Pomiar xyzaÄ"


def test_every_m11_names_its_velocity_channel(sample, tmp_path):
    path = tmp_path / "flap.M11"
    ondarix.write(ondarix.read(sample), str(path))
    channels = ondarix.read(str(path)).channels
    assert channels[1].name == "Prędkość przemieszczenia klapy"
    assert channels[1].unit == "m/s"


def test_names_set_from_python_are_kept_in_windows_1250(tmp_path):
    m = ondarix.Measurement(numpy.zeros(4), 10.0, name="Próba", channels=[("Fala ż", "µm")])
    m.name = "Zażółć"
    path = tmp_path / "typed.INT"
    ondarix.write(m, str(path))
    data = path.read_bytes()
    assert "Zażółć".encode("cp1250") in data and "Fala ż".encode("cp1250") in data
    assert "Zażółć".encode() not in data
    back = ondarix.read(str(path))
    assert (back.name, back.channels[0].name, back.channels[0].unit) == ("Zażółć", "Fala ż", "µm")
    with pytest.raises(ValueError, match="Windows-1250"):
        m.name = "日本"
    assert m.name == "Zażółć"
    # A component's name, typed and given back, and naming its result channel.
    wave = [{"frequency": 0.5, "name": "Fala łódź"}]
    result = ondarix.kalman(numpy.sin(numpy.arange(400) * numpy.pi / 10), wave, rate=10.0)
    assert result.components[0]["name"] == "Fala łódź"
    assert list(result.channels)[0] == "Fala łódź"


def test_paths_of_any_bytes(tmp_path):
    # A folder whose name is not UTF-8, and a path longer than the 255 bytes
    # a measurement keeps, cut inside a two-byte character.
    prefix = os.fsencode(tmp_path) + b"/"
    filler = b"x" * (1 if (254 - len(prefix)) % 2 else 2)
    folder = prefix + filler + "ą".encode() * 100 + b"/\xff\xfe" + "ą".encode() * 60
    os.makedirs(folder)
    path = folder + b"/m.INT"
    assert len(path) > 255
    ondarix.write(ondarix.Measurement(numpy.arange(5.0), 1.0), path)
    for given in (path, os.fsdecode(path)):
        m = ondarix.read(given)
        assert len(m) == 5
        kept = os.fsencode(m.path)
        assert path.startswith(kept) and len(kept) >= 250
        assert kept[-1:] == "ą".encode()[:1]  # the cut left half a character
    with pytest.raises(OSError) as raised:
        ondarix.read(folder + b"/missing.INT")
    assert os.fsdecode(folder) in str(raised.value)


def test_campaign_of_one_path_is_one_file(sample):
    import pathlib

    for one in (sample, pathlib.Path(sample), os.fsencode(sample)):
        frame = ondarix.campaign(one, "statistics", channel=1)
        assert list(frame["file"]) == [sample]
        assert frame.loc[0, "error"] is None
        assert frame.loc[0, "maximum"] == ondarix.statistics(ondarix.read(sample), 1).maximum
