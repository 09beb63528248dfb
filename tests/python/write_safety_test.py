"""ondarix.write replaces a file whole or not at all, and paths name exactly
the file they spell."""

import os
import resource
import signal

import pytest

import ondarix


def test_a_failed_write_keeps_the_old_file(sample, tmp_path):
    target = tmp_path / "good.TXT"
    target.write_bytes(b"0.0\t1.0\r\n0.1\t2.0\r\n")
    m = ondarix.read(sample)
    limits = resource.getrlimit(resource.RLIMIT_FSIZE)
    handler = signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
    # Files may grow to 4 KiB: the write fails part-way, as on a full disk.
    resource.setrlimit(resource.RLIMIT_FSIZE, (4096, limits[1]))
    try:
        with pytest.raises(OSError, match="File too large"):
            ondarix.write(m, str(target))
    finally:
        resource.setrlimit(resource.RLIMIT_FSIZE, limits)
        signal.signal(signal.SIGXFSZ, handler)
    assert target.read_bytes() == b"0.0\t1.0\r\n0.1\t2.0\r\n"
    assert os.listdir(tmp_path) == ["good.TXT"]


def test_a_fifo_is_refused_without_blocking(sample, tmp_path):
    fifo = tmp_path / "pipe.INT"
    os.mkfifo(fifo)
    m = ondarix.read(sample)
    signal.alarm(10)  # a write that blocks ends the test run instead of hanging it
    try:
        with pytest.raises(OSError, match="not a regular file"):
            ondarix.write(m, str(fifo))
    finally:
        signal.alarm(0)


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
