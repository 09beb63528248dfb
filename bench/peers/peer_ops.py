"""The peers' side of the peer benchmark: numpy, scipy and statsmodels.

`peer_ops.py OPERATION ARG...` times one operation in this process after one
untimed run and prints milliseconds of CPU time; the operations starting with `whole-`
are whole programs instead (read the file, compute, write), timed from the
outside by bench_peers.py.
"""
import sys
import time

import numpy as np

FIT_RATE = 100.0
INT_HEADER = 79  # .INT layouts 5 and 6: 79 bytes, then 97 per channel


def peer_signal(n):
    """Twin of peerSignal in peer_signal.h, as float32 values."""
    j = np.arange(n, dtype=np.int64)
    ripple = ((j * 7919) % 1000) / 1000.0 - 0.5
    return (np.sin(0.013 * j) + 0.4 * np.sin(0.0711 * j + 1.0) + 0.05 * ripple).astype(np.float32)


def fit_truth(k):
    return [(0.35 + 0.45 * c, 0.002 * (c + 1), 1.0 / (c + 1), 0.3) for c in range(k)]


def fit_model(params, t):
    """level + sum of e^(-eta t) (a cos 2 pi f t + d sin 2 pi f t)."""
    y = np.full_like(t, params[0])
    for c in range((len(params) - 1) // 4):
        f, eta, a, d = params[1 + 4 * c:5 + 4 * c]
        phase = 2 * np.pi * f * t
        y += np.exp(-eta * t) * (a * np.cos(phase) + d * np.sin(phase))
    return y


def fit_signal(n, k):
    t = np.arange(n) / FIT_RATE
    truth = [0.1] + [v for w in fit_truth(k) for v in w]
    ripple = peer_signal(n).astype(np.float64) - float(peer_signal(1)[0])
    return (fit_model(np.array(truth), t) + 0.01 * ripple).astype(np.float32)


def fit_start(k):
    start = [0.09]
    for c, (f, eta, _, _) in enumerate(fit_truth(k)):
        start += [f * 1.0001, eta * 1.05, 0.9 / (c + 1), 0.27]
    return np.array(start)


def read_int(path):
    with open(path, 'rb') as f:
        channels = f.read(9)[8]
    return np.fromfile(path, dtype=np.float32, offset=INT_HEADER + 97 * channels)


def line_roots(v, first):
    """Where the least-squares line through v[k-3..k] changes sign, k >= first:
    indices k and the root after the third newest."""
    level = v[3:] + 2 * v[2:-1] + 3 * v[1:-2] + 4 * v[:-3]
    nxt = 4 * v[3:] + 3 * v[2:-1] + 2 * v[1:-2] + v[:-3]
    k = np.arange(3, len(v))
    crosses = ((level < 0) & (nxt > 0)) | ((level > 0) & (nxt < 0)) | ((level == 0) & (nxt != 0))
    crosses &= k >= first
    lv, nx = level[crosses], nxt[crosses]
    return k[crosses], -lv / (nx - lv)


def statistics(x, rate):
    """The same zero-crossing rule as computeStatistics, vectorised where the
    rule allows; the few crossings and extremes are then walked in order."""
    x = x.astype(np.float64)
    mean = x.mean()
    result = {'minimum': x.min(), 'maximum': x.max(), 'mean': mean, 'deviation': x.std()}
    d = x - mean
    k, root = line_roots(d, 9)
    times, periods = [], []
    for t in (k + root).tolist():
        if times and not t - times[-1] > 1:
            continue
        times.append(t)
        if len(times) >= 3:
            periods.append((t - times[-3]) / rate)
    # Slopes centred on c = 2 .. n-3; slope index s = c - 2. At step k the
    # newest slope is centred on k - 2.
    slopes = (2 * (d[4:] - d[:-4]) + (d[3:-1] - d[1:-3])) / 10
    sk, sroot = line_roots(slopes, 9 - 2 - 2)
    step = sk + 4
    g, f, e, dd = d[step - 5], d[step - 4], d[step - 3], d[step - 2]
    t = sroot
    values = ((-3 * dd + 9 * e + 11 * f + 3 * g) + t * (dd + 7 * e + 3 * f - 11 * g) +
              t * t * (5 * dd - 5 * e - 5 * f + 5 * g)) / 20
    extremes, heights = [], []
    for v in values.tolist():
        if extremes:
            last = extremes[-1]
            if (v > 0) if last > 0 else (v < 0):
                if (v > last) if last > 0 else (v < last):
                    extremes[-1] = v
                continue
        extremes.append(v)
        if len(extremes) >= 3:
            heights.append(abs(extremes[-2] - extremes[-3]))
    result.update(heights=len(heights), periods=len(periods),
                  heightMean=float(np.mean(heights)) if heights else 0.0,
                  periodMean=float(np.mean(periods)) if periods else 0.0)
    return result


def fit(y, k):
    """scipy's least_squares on the same model from the same start."""
    from scipy.optimize import least_squares
    t = np.arange(len(y)) / FIT_RATE
    y = y.astype(np.float64)
    return least_squares(lambda p: fit_model(p, t) - y, fit_start(k))


KALMAN_RATE = 50.0


def kalman_matrices(k):
    """Twin of buildKalmanModel for model 3 (kalman/kalman_model.cpp) with the
    harness's components: per component a three-level chain of lags times the
    carrier's rotation, P0 its stationary covariance, Q = P0 - F P0 F^T, and the
    observation of state 4 of each block (the chain's lowest in-phase level)."""
    dt = 1 / KALMAN_RATE
    chain_p0 = np.array([[8 / 3, 4 / 3, 2 / 3], [4 / 3, 4 / 3, 1.0], [2 / 3, 1.0, 1.0]])
    F, P0 = np.zeros((6 * k, 6 * k)), np.zeros((6 * k, 6 * k))
    variances = []
    for c in range(k):
        f, amplitude = 0.1 + 0.2 * c, 1.0 / (c + 1)
        variance = 0.5 * amplitude * amplitude
        x = f / 8.0 * dt
        rho = np.exp(-x)
        chain = rho * np.array([[1, 0, 0], [x, 1, 0], [0.5 * x * x, x, 1]])
        cos, sin = np.cos(2 * np.pi * f * dt), np.sin(2 * np.pi * f * dt)
        block = slice(6 * c, 6 * c + 6)
        F[block, block] = np.kron(chain, np.array([[cos, sin], [-sin, cos]]))
        P0[block, block] = np.kron(variance * chain_p0, np.eye(2))
        variances.append(variance)
    Q = P0 - F @ P0 @ F.T
    h = np.zeros((1, 6 * k))
    h[0, 4::6] = 1.0
    R = 0.05 * sum(variances)
    return F, Q, h, R, P0


def kalman_filter(z, k):
    """statsmodels' Kalman filter on the same matrices, filtering only, keeping
    only the filtered states. Our filter predicts before its first observation,
    from the zero state and P0: statsmodels starts from that prediction."""
    from statsmodels.tsa.statespace.kalman_filter import KalmanFilter
    F, Q, h, R, P0 = kalman_matrices(k)
    n = F.shape[0]
    kf = KalmanFilter(k_endog=1, k_states=n, k_posdef=n, transition=F, design=h,
                      selection=np.eye(n), state_cov=Q, obs_cov=np.array([[R]]), tolerance=0)
    kf.set_conserve_memory(memory_no_forecast=True, memory_no_predicted=True,
                           memory_no_filtered_cov=True, memory_no_likelihood=True,
                           memory_no_gain=True, memory_no_smoothing=True,
                           memory_no_std_forecast=True)
    kf.bind(z.astype(np.float64))
    kf.initialize_known(np.zeros(n), F @ P0 @ F.T + Q)
    return kf.filter().filtered_state[4::6]


def kalman_check(path, k):
    """The filtered component signals agree with the harness's (written as
    floats) on a small case: within 1e-5 of the largest signal value."""
    ours = np.loadtxt(path, ndmin=2).T
    theirs = kalman_filter(peer_signal(ours.shape[1]), k)
    worst = np.max(np.abs(ours - theirs))
    if not worst <= 1e-5 * np.max(np.abs(theirs)):
        raise SystemExit('Kalman outputs differ from statsmodels by %g' % worst)
    return worst


def timed(run):
    """CPU milliseconds of the second run, as the harness measures them."""
    run()
    start = time.process_time()
    run()
    return (time.process_time() - start) * 1e3


def timed_once(warm_up, run):
    """CPU milliseconds of `run` after `warm_up`."""
    warm_up()
    start = time.process_time()
    run()
    return (time.process_time() - start) * 1e3


def best_of_three(run):
    """Wall milliseconds, the best of 3 after a first call, as a user at the
    Python prompt would time it (the analyses run on a worker thread)."""
    run()
    best = float('inf')
    for _ in range(3):
        start = time.perf_counter()
        run()
        best = min(best, time.perf_counter() - start)
    return best * 1e3


def python_run(name, n, k):
    """The call of ondarix's analysis `name` on float32 arrays, as
    analysis_runs.cpp runs it in process; scipy-rfft and scipy-welch are the
    peers of fourier and spectrum."""
    x = peer_signal(n)
    if name == 'scipy-rfft':
        import scipy.fft
        return lambda: scipy.fft.rfft(x)
    if name == 'scipy-welch':
        import scipy.signal
        return lambda: scipy.signal.welch(x, fs=50.0, nperseg=4096)
    import ondarix
    if name == 'fourier':
        return lambda: ondarix.fourier(x, rate=50.0)
    if name == 'fourier-onesided':
        return lambda: ondarix.fourier(x, rate=50.0, onesided=True)
    if name == 'spectrum':
        return lambda: ondarix.spectrum(x, rate=50.0, segment=4096, detrend='linear')
    if name == 'stats':
        return lambda: ondarix.statistics(x, rate=50.0)
    if name == 'waves':
        return lambda: ondarix.waves(x, rate=50.0)
    if name == 'reflection':
        two = np.stack([x, peer_signal(n + 7)[7:]], axis=1)
        return lambda: ondarix.reflection(two, rate=50.0, positions=[0.0, 0.3], depth=0.5)
    if name == 'kalman':
        components = [{'frequency': 0.1 + 0.2 * c, 'amplitude': 1.0 / (c + 1), 'k': 8.0}
                      for c in range(k)]
        return lambda: ondarix.kalman(x, components, rate=50.0, model=3)
    if name == 'aprox':
        y = fit_signal(n, k)
        components = [{'frequency': f * 1.0001, 'eta': eta * 1.05, 'a': 0.9 / (c + 1), 'd': 0.27}
                      for c, (f, eta, _, _) in enumerate(fit_truth(k))]
        return lambda: ondarix.aprox(y, components, rate=FIT_RATE, level=0.09, use_ad=1,
                                     use_eta=1)
    raise SystemExit('unknown analysis ' + name)


def in_process(op, args):
    if op == 'python':
        return best_of_three(python_run(args[0], int(args[1]), int(args[2]) if len(args) > 2 else 0))
    if op == 'read-int':
        return timed(lambda: read_int(args[0]))
    if op == 'fourier':
        import scipy.fft
        x = peer_signal(int(args[0])).astype(np.float64)
        return timed(lambda: scipy.fft.rfft(x))
    if op == 'stats':
        x = peer_signal(int(args[0]))
        return timed(lambda: statistics(x, 50.0))
    if op == 'fit':
        n, k = int(args[0]), int(args[1])
        y = fit_signal(n, k)
        return timed(lambda: fit(y, k))
    if op == 'kalman':
        n, k = int(args[0]), int(args[1])
        z = peer_signal(n)
        # The untimed run on a short head: a whole run takes seconds.
        return timed_once(lambda: kalman_filter(z[:1000], k), lambda: kalman_filter(z, k))
    if op == 'kalman-check':
        return kalman_check(args[0], int(args[1]))
    raise SystemExit('unknown operation ' + op)


def whole(op, args):
    if op == 'whole-read-int':
        read_int(args[0])
    elif op == 'whole-fourier':
        import scipy.fft
        x = read_int(args[0]).astype(np.float64)
        scipy.fft.rfft(x).astype(np.complex64).tofile(args[1])
    elif op == 'whole-stats':
        statistics(read_int(args[0])[:int(args[1])], 50.0)
    elif op == 'whole-fit':
        fit(read_int(args[0]), int(args[1]))
    else:
        raise SystemExit('unknown operation ' + op)


if __name__ == '__main__':
    operation, rest = sys.argv[1], sys.argv[2:]
    if operation.startswith('whole-'):
        whole(operation, rest)
    else:
        print('%.3f' % in_process(operation, rest))
