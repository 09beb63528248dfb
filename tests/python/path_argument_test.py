"""Paths given to ondarix.read and ondarix.write name exactly the file they
spell."""

import os

import pytest

import ondarix


# The system takes a path up to its first NUL: "x.INT\0.TXT" used to write
# x.INT, and reading such a path read another file than the one named.
def test_a_path_holding_nul_is_refused(sample, tmp_path):
    m = ondarix.read(sample)
    before = str(tmp_path / "x.INT")
    with pytest.raises(ValueError, match="NUL"):
        ondarix.write(m, before + "\0.TXT")
    assert not os.path.exists(before)
    with pytest.raises(ValueError, match="NUL"):
        ondarix.read(sample + "\0ignored")
