"""Reading and writing records: Ondarix against the libraries a user would
read or write the same files with, in one run.

Run by hand (never in CI), with Debian's python3 (numpy, scipy, h5py,
soundfile, pandas):

    /usr/bin/python3 bench/io_peers.py --batch build/batch/ondarix-batch \\
        --python build/python [--reference-batch OLD/ondarix-batch] [--rounds 5]

The inputs are made once in --work (about 1 GB) from one record of
16 channels x 2,097,152 rows of float32 (sines and noise, fixed seed): .INT
and .h5 by ondarix.write, a chunked .h5 by h5py, a version 5 .mat by
scipy.io.savemat, float32 and int16 .WAV by soundfile, and a .csv of its first
200,000 rows by pandas (text is slow to read on either side). Ondarix writes
no version 7.3 .mat, so there is no row for one.

Every row runs Ondarix and its peer alternately, `--rounds` times, and gives
the median of the per-round ratios Ondarix / peer with their spread
(min..max) and the median milliseconds of each side:
- whole-process reads: `ondarix-batch block FILE` of one row (it reads every
  sample of the record, then writes one value) against a python3 doing the
  peer's read; wall ms, CPU ms and peak MiB, each run started from a small
  wrapper whose RUSAGE_CHILDREN holds only it;
- peak memory of those reads: (peak - baseline) / 128 MiB, the baseline being
  the peak of `ondarix-batch info` of the same file (for the peers, of a
  python3 importing the same modules and reading nothing);
- in-process reads from Python: ondarix.read(path).samples against the peer
  call, both in one warmed-up interpreter;
- writes: ondarix.write to .h5 and .mat against h5py and scipy.io.savemat
  of the same float32 array (each side fsyncs, as Ondarix's writer does;
  Ondarix's .mat holds doubles, twice the bytes of savemat's floats), and
  `ondarix-batch convert` to .INT, .TXT and .csv against --reference-batch
  doing the same convert;
- Python Fourier: ondarix.fourier(x, onesided=True) against scipy.fft.rfft(x)
  of float32 arrays, the best of 3 after a warm-up, the process pinned to
  one core: Ondarix's long transforms then take one thread (they follow the
  process's CPU set, or ONDARIX_FFT_THREADS; analysis/fft_plan.cpp), and
  scipy.fft takes one worker unless told otherwise.
"""
import argparse
import json
import os
import re
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE + '/peers')
from bench_peers import PYTHON  # noqa: E402

CHANNELS, ROWS, RATE = 16, 2_097_152, 100.0
CSV_ROWS = 200_000
SAMPLE_MIB = CHANNELS * ROWS * 4 / 2**20
FOURIER_SIZES = (1 << 20, 1 << 21, 1 << 22)

# name: (file, the peer's read, the modules it imports)
READS = {
    '.INT': ('record.INT', 'numpy.fromfile', 'numpy'),
    '.mat v5': ('record.mat', 'scipy.io.loadmat', 'scipy.io'),
    '.h5 by Ondarix': ('record_ondarix.h5', 'h5py', 'h5py'),
    '.h5 by h5py, chunked': ('record_h5py.h5', 'h5py', 'h5py'),
    'float32 .WAV': ('record_float.WAV', 'soundfile', 'soundfile'),
    'int16 .WAV': ('record_int16.WAV', 'soundfile', 'soundfile'),
    '.csv, 16 x 200000': ('record.csv', 'pandas.read_csv', 'pandas'),
}


# Runs a program and prints its wall and CPU milliseconds and peak MiB. A
# child's peak counts the process it was started from until its exec, so each
# run is started from this small process (about 10 MiB) rather than from the
# driver; RUSAGE_CHILDREN then holds only this run.
WRAPPER = '''import resource, subprocess, sys, time
start = time.perf_counter()
code = subprocess.call(sys.argv[1:], stdout=subprocess.DEVNULL)
wall = (time.perf_counter() - start) * 1e3
usage = resource.getrusage(resource.RUSAGE_CHILDREN)
print(code, wall, (usage.ru_utime + usage.ru_stime) * 1e3, usage.ru_maxrss / 1024.0)
'''


def run_whole(argv):
    """Wall and CPU milliseconds and peak resident MiB of one program run."""
    done = subprocess.run([PYTHON, '-c', WRAPPER] + argv, capture_output=True, text=True)
    code, wall, cpu, peak = done.stdout.split()
    if done.returncode != 0 or code != '0':
        raise SystemExit('%s failed: %s' % (' '.join(argv), done.stderr))
    return float(wall), float(cpu), float(peak)


# ---- the inputs --------------------------------------------------------------

def record():
    """Sines of a few periods on every channel, plus noise, as float32."""
    import numpy
    rng = numpy.random.default_rng(20261208)
    t = numpy.arange(ROWS) / RATE
    out = numpy.empty((ROWS, CHANNELS), numpy.float32)
    for c in range(CHANNELS):
        wave = sum(numpy.sin(2 * numpy.pi * f * t + c) / (k + 1)
                   for k, f in enumerate((0.4 + 0.05 * c, 1.1, 2.7)))
        out[:, c] = 0.5 * wave + 0.05 * rng.standard_normal(ROWS)
    return out


def make_inputs(work):
    """Runs in a child with --python on PYTHONPATH; skips files already made."""
    import h5py
    import numpy
    import pandas
    import scipy.io
    import soundfile
    import ondarix
    values = None
    for name, (file, _, _) in READS.items():
        path = os.path.join(work, file)
        if os.path.exists(path):
            continue
        if values is None:
            values = record()
        print('making ' + file, file=sys.stderr)
        part = path + '.part'
        if file.endswith('.INT') or file == 'record_ondarix.h5':
            ondarix.write(ondarix.Measurement(values, RATE, name='io bench'), part,
                          type='int' if file.endswith('.INT') else 'hdf5')
        elif file.endswith('.mat'):
            scipy.io.savemat(part, {'data': values, 'fs': RATE})
        elif file == 'record_h5py.h5':
            with h5py.File(part, 'w') as f:
                f.attrs['sample_rate'] = RATE
                f.create_dataset('samples', data=values, chunks=(65536, CHANNELS))
        elif file.endswith('.WAV'):
            # soundfile clips int16 at full scale; the record stays within it.
            scale = 0.99 / float(numpy.abs(values).max())
            soundfile.write(part, values * scale, int(RATE), format='WAV',
                            subtype='FLOAT' if 'float' in file else 'PCM_16')
        elif file.endswith('.csv'):
            table = pandas.DataFrame(values[:CSV_ROWS],
                                     columns=['gauge%d' % (c + 1) for c in range(CHANNELS)])
            table.insert(0, 'time', numpy.arange(CSV_ROWS) / RATE)
            table.to_csv(part, index=False)
        os.rename(part, path)
    small = os.path.join(work, 'record_small.h5')
    if not os.path.exists(small):
        # The source of the text converts: a whole record as text takes long.
        if values is None:
            values = record()
        ondarix.write(ondarix.Measurement(values[:CSV_ROWS], RATE, name='io bench'),
                      small + '.part', type='hdf5')
        os.rename(small + '.part', small)


# ---- the peers' side, in a child python3 ---------------------------------------

def peer_read(kind, path):
    """The peer's read of one file: a float32 array of rows x channels (for
    pandas, its table)."""
    if kind == 'numpy.fromfile':
        from peer_ops import read_int
        with open(path, 'rb') as f:
            channels = f.read(9)[8]
        return read_int(path).reshape(-1, channels)
    if kind == 'scipy.io.loadmat':
        import scipy.io
        return scipy.io.loadmat(path)['data']
    if kind == 'h5py':
        import h5py
        with h5py.File(path, 'r') as f:
            return f['samples'][:]
    if kind == 'soundfile':
        import soundfile
        return soundfile.read(path, dtype='float32')[0]
    if kind == 'pandas.read_csv':
        import pandas
        return pandas.read_csv(path)
    raise SystemExit('unknown peer ' + kind)


def ms(run):
    start = time.perf_counter()
    run()
    return (time.perf_counter() - start) * 1e3


def synced(path, write):
    """write(path), then the file's bytes to the disk, as Ondarix's writer does."""
    write(path)
    fd = os.open(path, os.O_RDONLY)
    try:
        os.fsync(fd)
    finally:
        os.close(fd)


def inner_sides(kind, arg, work):
    """The two calls of an in-process row: Ondarix's and its peer's."""
    import ondarix
    if kind == 'read':
        path, peer = os.path.join(work, READS[arg][0]), READS[arg][1]
        return (lambda: ondarix.read(path).samples), (lambda: peer_read(peer, path))
    values = peer_read('h5py', os.path.join(work, 'record_h5py.h5'))
    m = ondarix.Measurement(values, RATE, name='io bench')
    ours, theirs = os.path.join(work, 'written' + arg), os.path.join(work, 'peer_written' + arg)

    def peer_write(path):
        if arg == '.h5':
            import h5py
            with h5py.File(path, 'w') as f:
                f.attrs['sample_rate'] = RATE
                f.create_dataset('samples', data=values)
        else:
            import scipy.io
            scipy.io.savemat(path, {'data': values, 'fs': RATE})
    return (lambda: ondarix.write(m, ours)), (lambda: synced(theirs, peer_write))


def inner_row(row):
    """In one interpreter, both sides alternately `rounds` times after one
    untimed call of each. Prints [[ours, peer], ...] in wall ms."""
    kind, arg, rounds = row['kind'], row['arg'], row['rounds']
    if kind == 'fourier':
        # Pinned before the first transform, so both sides compute on one core.
        os.sched_setaffinity(0, {min(os.sched_getaffinity(0))})
        from peer_ops import best_of_three, python_run
        ours, theirs = python_run('fourier-onesided', arg, 0), python_run('scipy-rfft', arg, 0)
        # best_of_three makes its own first call: the best of 3 after it.
        times = [[best_of_three(ours), best_of_three(theirs)] for _ in range(rounds)]
    else:
        ours, theirs = inner_sides(kind, arg, row['work'])
        ours(), theirs()  # page cache, imports, first touch of the sides' memory
        times = [[ms(ours), ms(theirs)] for _ in range(rounds)]
    print(json.dumps(times))


def peer_main(argv):
    if argv[0] == 'make-inputs':
        make_inputs(argv[1])
    elif argv[0] == 'read':
        peer_read(argv[1], argv[2])
    elif argv[0] == 'import':
        for module in argv[1].split(','):
            __import__(module)
    elif argv[0] == 'inner':
        inner_row(json.loads(argv[1]))
    else:
        raise SystemExit('unknown peer operation ' + argv[0])


# ---- the driver ------------------------------------------------------------------

def whole_read_rows(a):
    """(name, Ondarix argv, peer argv, reference argv or None, Ondarix's
    baseline argv, the peer's baseline argv, the peer's name)."""
    me = [PYTHON, os.path.abspath(__file__), 'peer']
    rows = []
    for name, (file, peer, modules) in READS.items():
        path = os.path.join(a.work, file)

        def block(batch):
            # One value written, but the record is read whole first.
            return [batch, 'block', path, '--channel', '0', '--from', '0', '--to', '1',
                    '-o', os.path.join(a.work, 'one_row.TXT')]
        rows.append(('read ' + name, block(a.batch), me + ['read', peer, path],
                     block(a.reference_batch) if a.reference_batch else None,
                     [a.batch, 'info', path], me + ['import', modules], peer))
    return rows


def convert_rows(a):
    """(name, Ondarix argv, reference argv): the same convert by both binaries."""
    if not a.reference_batch:
        return []
    rows = []
    for out, source in (('.INT', 'record_ondarix.h5'), ('.TXT', 'record_small.h5'),
                        ('.csv', 'record_small.h5')):
        def convert(batch):
            return [batch, 'convert', os.path.join(a.work, source),
                    os.path.join(a.work, 'converted' + out)]
        rows.append(('convert %s to %s' % (source, out), convert(a.batch),
                     convert(a.reference_batch)))
    return rows


def inner_row_list():
    rows = [{'name': 'ondarix.read %s' % name, 'kind': 'read', 'arg': name} for name in READS]
    rows += [{'name': 'ondarix.write .h5', 'kind': 'write', 'arg': '.h5'},
             {'name': 'ondarix.write .mat v5', 'kind': 'write', 'arg': '.mat'}]
    rows += [{'name': 'fourier onesided of %d, one core' % n, 'kind': 'fourier', 'arg': n}
             for n in FOURIER_SIZES]
    return rows


def median(values):
    return statistics.median(values) if values else float('nan')


def summary(pairs):
    """Median ms of each side, median ratio and the spread of the ratios."""
    ratios = [o / p for o, p in pairs]
    return (median([o for o, _ in pairs]), median([p for _, p in pairs]), median(ratios),
            min(ratios), max(ratios))


class Table:
    def __init__(self, title, header, markdown):
        self.title, self.header, self.markdown, self.lines = title, header, markdown, []

    def add(self, *cells):
        self.lines.append([str(c) for c in cells])

    def show(self):
        if not self.lines:
            return
        print('\n' + self.title + '\n')
        if self.markdown:
            print('| ' + ' | '.join(self.header) + ' |')
            print('|---|' + '---:|' * (len(self.header) - 1))
            for line in self.lines:
                print('| ' + ' | '.join(line) + ' |')
            return
        widths = [max(len(r[i]) for r in self.lines + [self.header])
                  for i in range(len(self.header))]
        for line in [self.header] + self.lines:
            print('  '.join(c.ljust(w) if i == 0 else c.rjust(w)
                            for i, (c, w) in enumerate(zip(line, widths))))


def spread(lo, hi):
    return '%.2f..%.2f' % (lo, hi)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('--batch', required=True, help='the ondarix-batch to measure')
    parser.add_argument('--python', required=True,
                        help='the folder holding its ondarix package (put on PYTHONPATH)')
    parser.add_argument('--reference-batch', help='an older ondarix-batch, for the '
                        'not-slower-than-before rows (converts, and a column of the reads)')
    parser.add_argument('--work', default='/tmp/ondarix-io-peers',
                        help='folder for the inputs, made once (about 1 GB)')
    parser.add_argument('--rounds', type=int, default=5)
    parser.add_argument('--rows-only', help='only the rows whose name this regex finds')
    parser.add_argument('--markdown', action='store_true', help='Markdown tables, for README')
    a = parser.parse_args()
    a.batch = os.path.abspath(a.batch)
    if a.reference_batch:
        a.reference_batch = os.path.abspath(a.reference_batch)
    os.environ['PYTHONPATH'] = os.path.abspath(a.python)
    os.makedirs(a.work, exist_ok=True)
    me = [PYTHON, os.path.abspath(__file__), 'peer']
    subprocess.run(me + ['make-inputs', a.work], check=True)

    wanted = re.compile(a.rows_only or '')
    reads = [r for r in whole_read_rows(a) if wanted.search('whole ' + r[0])]
    converts = [r for r in convert_rows(a) if wanted.search(r[0])]
    inner = [r for r in inner_row_list() if wanted.search(r['name'])]

    # One untimed read of each file: the page cache, and the first touch of
    # large blocks, which on some machines costs more than the read itself.
    for _, ours, peer, *_ in reads:
        run_whole(ours), run_whole(peer)
    got = {}
    for r in range(a.rounds):
        print('round %d of %d' % (r + 1, a.rounds), file=sys.stderr)
        for name, ours, peer, ref, base, peer_base, _ in reads:
            for side, argv in (('ours', ours), ('peer', peer), ('ref', ref),
                               ('base', base), ('peer base', peer_base)):
                if argv:
                    got.setdefault((name, side), []).append(run_whole(argv))
        for name, ours, ref in converts:
            for side, argv in (('ours', ours), ('ref', ref)):
                got.setdefault((name, side), []).append(run_whole(argv))
    # In process: each row in its own interpreter, alternating inside it.
    for row in inner:
        print(row['name'], file=sys.stderr)
        job = dict(row, rounds=a.rounds, work=a.work)
        out = subprocess.run(me + ['inner', json.dumps(job)], check=True, capture_output=True,
                             text=True).stdout
        got[row['name']] = json.loads(out)
    report(a, got, reads, converts, inner)


def report(a, got, reads, converts, inner):
    n = a.rounds
    md = a.markdown
    t = Table('Whole process, reading the whole record, %d rounds: median wall ms (CPU ms, '
              'peak MiB); ratio of wall times, median and min..max of the rounds' % n,
              ['read', 'Ondarix', 'peer', 'ratio', 'spread', 'reference', 'Ondarix / reference'],
              md)
    for name, _, _, ref, _, _, peer in reads:
        ours, theirs = got[(name, 'ours')], got[(name, 'peer')]
        o = [median([x[i] for x in ours]) for i in range(3)]
        p = [median([x[i] for x in theirs]) for i in range(3)]
        _, _, mid, lo, hi = summary([(x[0], y[0]) for x, y in zip(ours, theirs)])
        cells = [name, '%.1f (%.1f, %.0f)' % tuple(o),
                 '%.1f (%.1f, %.0f) %s' % (p[0], p[1], p[2], peer), '%.2f' % mid,
                 spread(lo, hi)]
        if ref:
            refs = got[(name, 'ref')]
            _, _, rmid, rlo, rhi = summary([(x[0], y[0]) for x, y in zip(ours, refs)])
            cells += ['%.1f' % median([x[0] for x in refs]),
                      '%.2f (%s)' % (rmid, spread(rlo, rhi))]
        else:
            cells += ['-', '-']
        t.add(*cells)
    t.show()

    t = Table('Peak memory of those reads: (peak - baseline) / the samples at 4 bytes '
              '(%.0f MiB; the .csv %.0f MiB). Baseline: the peak of `ondarix-batch info` of '
              'the same file; for the peer, of python3 importing its modules' % (
                  SAMPLE_MIB, SAMPLE_MIB * CSV_ROWS / ROWS),
              ['read', 'Ondarix peak MiB', 'info MiB', 'Ondarix ratio', 'peer peak MiB',
               'import MiB', 'peer ratio'], md)
    for name, *_ in reads:
        mib = SAMPLE_MIB * (CSV_ROWS / ROWS if 'csv' in name else 1)
        peak, base = (median([x[2] for x in got[(name, s)]]) for s in ('ours', 'base'))
        ppeak, pbase = (median([x[2] for x in got[(name, s)]]) for s in ('peer', 'peer base'))
        t.add(name, '%.0f' % peak, '%.0f' % base, '%.2f' % ((peak - base) / mib),
              '%.0f' % ppeak, '%.0f' % pbase, '%.2f' % ((ppeak - pbase) / mib))
    t.show()
    if any('.mat' in r[0] for r in reads):
        print('\n(`info` of a compressed or version 7.3 .mat reads its samples too, through '
              'libmatio; the .mat here is uncompressed, and its `info` reads none.)')

    t = Table('Whole process, the same convert by --batch and --reference-batch, %d rounds: '
              'median wall ms (CPU ms, peak MiB)' % n,
              ['convert', 'Ondarix', 'reference', 'ratio', 'spread'], md)
    for name, *_ in converts:
        ours, refs = got[(name, 'ours')], got[(name, 'ref')]
        o = [median([x[i] for x in ours]) for i in range(3)]
        r = [median([x[i] for x in refs]) for i in range(3)]
        _, _, mid, lo, hi = summary([(x[0], y[0]) for x, y in zip(ours, refs)])
        t.add(name, '%.1f (%.1f, %.0f)' % tuple(o), '%.1f (%.1f, %.0f)' % tuple(r),
              '%.2f' % mid, spread(lo, hi))
    t.show()

    t = Table('In process from Python, one warmed-up interpreter per row, alternating, %d '
              'rounds: median wall ms; Fourier: the best of 3 after a first call' % n,
              ['operation', 'Ondarix', 'peer', 'ratio', 'spread'], md)
    peers = {'read': lambda arg: READS[arg][1],
             'write': lambda arg: 'h5py' if arg == '.h5' else 'scipy.io.savemat',
             'fourier': lambda arg: 'scipy.fft.rfft'}
    for row in inner:
        o, p, mid, lo, hi = summary(got[row['name']])
        t.add(row['name'], '%.1f' % o, '%.1f %s' % (p, peers[row['kind']](row['arg'])),
              '%.2f' % mid, spread(lo, hi))
    t.show()
    print('\nNo version 7.3 .mat row: ondarix writes version 5 only, and a 7.3 file made '
          'by h5py in MATLAB\'s layout is left out.')


if __name__ == '__main__':
    if len(sys.argv) > 1 and sys.argv[1] == 'peer':
        peer_main(sys.argv[2:])
    else:
        main()
