"""Ondarix against the tools its users would pick instead, on the same inputs.

Run by scripts/bench-peers.sh (never in CI): makes the inputs, runs every
operation with Ondarix and with its peer in the same round, interleaved,
for --rounds rounds, and prints the medians as one table. In-process times
exclude process start and, except for the reading rows, file reading;
whole-process times are wall clock from start to exit.
"""
import argparse
import os
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
PYTHON = '/usr/bin/python3'  # Debian's, where the peers are installed


def run_ms(argv):
    out = subprocess.run(argv, check=True, capture_output=True, text=True).stdout
    return float(out.split()[-1])


def run_whole(argv):
    """Wall and CPU milliseconds and peak resident MiB of one program run."""
    start = time.perf_counter()
    with open(os.devnull, 'wb') as null:
        child = subprocess.Popen(argv, stdout=null, stderr=subprocess.PIPE)
        _, status, usage = os.wait4(child.pid, 0)
        err = child.stderr.read().decode()
    wall = (time.perf_counter() - start) * 1e3
    if status != 0:
        raise SystemExit('%s failed: %s' % (' '.join(argv), err))
    return wall, (usage.ru_utime + usage.ru_stime) * 1e3, usage.ru_maxrss / 1024.0


def in_process_rows(harness, work):
    ops = [HERE + '/peer_ops.py']
    int16 = work + '/channels16.INT'
    wav = work + '/ten_minutes.WAV'
    rows = [
        ('read 16 x 2097152 .INT', [harness, 'read-int', int16], [PYTHON] + ops + ['read-int', int16],
         'numpy.fromfile', [harness, 'page-cache-read', int16], 'page-cache read'),
        ('read 10 min 48 kHz .WAV', [harness, 'read-wav', wav], None, 'sox (whole process below)',
         [harness, 'page-cache-read', wav], 'page-cache read'),
    ]
    for n in (2097152, 999983):
        rows.append(('Fourier of %d' % n, [harness, 'fourier', str(n)],
                     [PYTHON] + ops + ['fourier', str(n)], 'scipy.fft.rfft',
                     [harness, 'fftw-real', str(n)], "FFTW's real-input plan"))
    rows.append(('zero-crossing statistics of 1000000', [harness, 'stats', '1000000'],
                 [PYTHON] + ops + ['stats', '1000000'], 'numpy, same rule',
                 [harness, 'stats-loop', '1000000'], 'three-pass C loop'))
    for k in (2, 4):
        rows.append(('fit of %d damped components, 100000' % k,
                     [harness, 'aprox', '100000', str(k)],
                     [PYTHON] + ops + ['fit', '100000', str(k)], 'scipy least_squares', None, ''))
    for k in (3, 10):
        rows.append(('Kalman with %d components, 200000' % k,
                     [harness, 'kalman', '200000', str(k)],
                     [PYTHON] + ops + ['kalman', '200000', str(k)], 'statsmodels, same matrices',
                     None, ''))
    return rows


def check_kalman(harness, work):
    """Both Kalman filters give the same component signals on 2000 samples."""
    for k in (3, 10):
        path = '%s/kalman%d.txt' % (work, k)
        with open(path, 'w') as out:
            subprocess.run([harness, 'kalman-signals', '2000', str(k)], check=True, stdout=out)
        subprocess.run([PYTHON, HERE + '/peer_ops.py', 'kalman-check', path, str(k)], check=True,
                       stdout=subprocess.DEVNULL)


def component_list(work, k):
    path = '%s/components%d.txt' % (work, k)
    with open(path, 'w') as f:
        f.write('0\t0\t100000\t%d\n' % k)
        for c in range(k):
            freq, eta = (0.35 + 0.45 * c) * 1.0001, 0.002 * (c + 1) * 1.05
            f.write('%.10g\t1\t1\t%.10g\t0.27\t%.10g\n' % (freq, 0.9 / (c + 1), eta))
    return path


def whole_rows(batch, work):
    ops = [PYTHON, HERE + '/peer_ops.py']
    int16, wav, signal = work + '/channels16.INT', work + '/ten_minutes.WAV', work + '/signal.INT'
    out = work + '/out'
    rows = [
        ('info of a 128 MiB .INT', [batch, 'info', int16], None, ''),
        ('read 16 x 2097152 .INT', [batch, 'block', int16, '--channel', '0', '--from', '0',
                                    '--to', '1', '-o', out + '.TXT'],
         ops + ['whole-read-int', int16], 'numpy.fromfile'),
        ('read 10 min 48 kHz .WAV', [batch, 'block', wav, '--channel', '0', '--from', '0',
                                     '--to', '1', '-o', out + '.TXT'],
         ['sox', wav, '-n'], 'sox to null'),
        ('Fourier of 2097152', [batch, 'fourier', signal, '--channel', '0', '--from', '0',
                                '--to', '2097152', '-o', out + '.INT'],
         ops + ['whole-fourier', signal, out + '.bin'], 'scipy.fft.rfft'),
        ('statistics of 1000000', [batch, 'stats', signal, '--channel', '0', '--from', '0',
                                   '--to', '1000000'],
         ops + ['whole-stats', signal, '1000000'], 'numpy, same rule'),
    ]
    for k in (2, 4):
        fit = '%s/fit%d.INT' % (work, k)
        rows.append(('fit of %d damped components' % k,
                     [batch, 'aprox', fit, '--channel', '0', '--from', '0', '--to', '100000',
                      '--components', component_list(work, k), '--use-ad', '1', '--use-eta', '1',
                      '-o', out + '.TXT'],
                     ops + ['whole-fit', fit, str(k)], 'scipy least_squares'))
    return rows


# From Python: (label, analysis, samples, components, scipy's peer or None).
PYTHON_ROWS = [
    ('fourier of %d' % n, 'fourier', n, 0, 'scipy-rfft') for n in (1 << 20, 1 << 21, 1 << 22)
] + [
    ('fourier onesided=True of %d' % n, 'fourier-onesided', n, 0, 'scipy-rfft')
    for n in (1 << 20, 1 << 21, 1 << 22)
] + [
    ('spectrum of %d, segments of 4096' % n, 'spectrum', n, 0, 'scipy-welch')
    for n in (1 << 20, 1 << 22)
] + [
    ('statistics of 1000000', 'stats', 1000000, 0, None),
    ('waves of 1000000', 'waves', 1000000, 0, None),
    ('reflection of 2 x 1048576', 'reflection', 1 << 20, 0, None),
    ('Kalman with 3 components, 200000', 'kalman', 200000, 3, None),
    ('fit of 2 damped components, 100000', 'aprox', 100000, 2, None),
]


def python_rows(harness):
    """Wall times, best of 3 after a first call: the analysis called from
    Python on a float32 array, the same analysis in process, scipy's peer."""
    ops = [PYTHON, HERE + '/peer_ops.py', 'python']
    rows = []
    for label, name, n, k, peer in PYTHON_ROWS:
        tail = [str(n)] + ([str(k)] if k else [])
        rows.append((label, ops + [name] + tail, [harness, 'analysis', name] + tail,
                     ops + [peer, str(n)] if peer else None))
    return rows


def median(values):
    return statistics.median(values) if values else float('nan')


def cell(ms):
    return '%.1f' % ms if ms == ms else '-'


def ratio(a, b):
    return '%.2f' % (a / b) if a == a and b == b and b > 0 else '-'


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('--build', required=True, help='a Release build with -DONDARIX_BENCH=ON')
    parser.add_argument('--work', required=True, help='folder for the inputs (about 200 MB)')
    parser.add_argument('--rounds', type=int, default=5)
    a = parser.parse_args()
    if a.rounds < 5:
        parser.error('at least 5 rounds')
    harness = a.build + '/bench/peers/peer_harness'
    batch = a.build + '/batch/ondarix-batch'
    os.makedirs(a.work, exist_ok=True)
    if not os.path.exists(a.work + '/fit4.INT'):
        subprocess.run([harness, 'make-inputs', a.work], check=True)

    check_kalman(harness, a.work)
    inner = in_process_rows(harness, a.work)
    whole = whole_rows(batch, a.work)
    python = python_rows(harness)
    os.environ['PYTHONPATH'] = os.path.abspath(a.build + '/python')
    got = {}
    for r in range(a.rounds):
        print('round %d of %d' % (r + 1, a.rounds), file=sys.stderr)
        for name, ours, core, peer in python:
            for side, argv in (('python', ours), ('core', core), ('scipy', peer)):
                if argv:
                    got.setdefault((name, side), []).append(run_ms(argv))
        for name, ours, peer, _, floor, _ in inner:
            for side, argv in (('ours', ours), ('peer', peer), ('floor', floor)):
                if argv:
                    got.setdefault((name, side), []).append(run_ms(argv))
        for name, ours, peer, _ in whole:
            for side, argv in (('ours', ours), ('peer', peer)):
                if argv:
                    got.setdefault(('whole ' + name, side), []).append(run_whole(argv))

    print('\nIn process, median of %d rounds, milliseconds\n' % a.rounds)
    print('| operation | Ondarix | peer | ratio | floor | Ondarix / floor |')
    print('|---|---:|---:|---:|---:|---:|')
    for name, _, _, peer_name, _, floor_name in inner:
        ours = median(got.get((name, 'ours'), []))
        peer = median(got.get((name, 'peer'), []))
        floor = median(got.get((name, 'floor'), []))
        print('| %s | %s | %s (%s) | %s | %s | %s |' % (
            name, cell(ours), cell(peer), peer_name, ratio(ours, peer),
            cell(floor) + (' (%s)' % floor_name if floor_name else ''), ratio(ours, floor)))

    print('\nFrom Python on float32 arrays, median of %d rounds of the best of 3 after a first '
          'call, wall milliseconds\n' % a.rounds)
    print('| operation | Python | in process | Python / in process | scipy | Python / scipy |')
    print('|---|---:|---:|---:|---:|---:|')
    for name, _, _, peer in python:
        ours = median(got.get((name, 'python'), []))
        core = median(got.get((name, 'core'), []))
        scipy = median(got.get((name, 'scipy'), []))
        print('| %s | %s | %s | %s | %s | %s |' % (name, cell(ours), cell(core), ratio(ours, core),
                                                  cell(scipy), ratio(ours, scipy)))

    print('\nWhole process, median of %d rounds: wall ms (CPU ms, peak MiB)\n' % a.rounds)
    print('| operation | Ondarix | peer | ratio (wall) | Ondarix wall / CPU |')
    print('|---|---:|---:|---:|---:|')
    for name, _, _, peer_name in whole:
        ours = got.get(('whole ' + name, 'ours'), [])
        peer = got.get(('whole ' + name, 'peer'), [])
        ow, oc, om = (median([x[i] for x in ours]) for i in range(3))
        if peer:
            pw, pc, pm = (median([x[i] for x in peer]) for i in range(3))
            peer_text = '%.1f (%.1f, %.0f) %s' % (pw, pc, pm, peer_name)
        else:
            pw, peer_text = float('nan'), '-'
        print('| %s | %.1f (%.1f, %.0f) | %s | %s | %s |' % (
            name, ow, oc, om, peer_text, ratio(ow, pw), ratio(ow, oc)))


if __name__ == '__main__':
    main()
