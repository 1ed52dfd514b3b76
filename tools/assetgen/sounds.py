"""The two sounds, synthesised: the hammer's swing (a whoosh) and the hit (a knock).

Only +, -, * and / on doubles and a fixed-seed integer noise source are used: those are exact
under IEEE 754 on every machine, whereas the C library's sin and exp may differ in the last bit
between platforms, which could flip a rounded sample and break byte-for-byte regeneration.
"""

SWING_RATE = 22255
SWING_SAMPLES = 6428
SWING_SILENCE = 800  # 36 ms of silence; the swell then stays near silent for a few ms more
HIT_RATE = 22050
HIT_SAMPLES = 9057

PI = 3.141592653589793


def _sin(x):
    """sin by range reduction and a Taylor series, good to about 1e-15."""
    two_pi = 2 * PI
    k = int(x / two_pi)
    x -= k * two_pi
    if x > PI:
        x -= two_pi
    elif x < -PI:
        x += two_pi
    if x > PI / 2:
        x = PI - x
    elif x < -PI / 2:
        x = -PI - x
    term, total, x2 = x, x, x * x
    for n in range(1, 12):
        term *= -x2 / ((2 * n) * (2 * n + 1))
        total += term
    return total


def _cos(x):
    return _sin(x + PI / 2)


def _exp(x):
    """exp by halving and a Taylor series."""
    halvings = 0
    while abs(x) > 0.5:
        x /= 2
        halvings += 1
    term, total = 1.0, 1.0
    for n in range(1, 20):
        term *= x / n
        total += term
    for _ in range(halvings):
        total *= total
    return total


class _Noise:
    """xorshift32: white noise in [-1, 1) that is the same everywhere."""

    def __init__(self, seed):
        self.state = seed

    def next(self):
        s = self.state
        s ^= (s << 13) & 0xFFFFFFFF
        s ^= s >> 17
        s ^= (s << 5) & 0xFFFFFFFF
        self.state = s
        return s / 2147483648.0 - 1.0


class _Biquad:
    """A second-order filter (the usual audio cookbook forms)."""

    def __init__(self):
        self.x1 = self.x2 = self.y1 = self.y2 = 0.0
        self.set(1.0, 0.0, 0.0, 0.0, 0.0)

    def set(self, b0, b1, b2, a1, a2):
        self.b0, self.b1, self.b2, self.a1, self.a2 = b0, b1, b2, a1, a2

    def band_pass(self, rate, freq, q):
        w = 2 * PI * freq / rate
        alpha = _sin(w) / (2 * q)
        a0 = 1 + alpha
        self.set(alpha / a0, 0.0, -alpha / a0, -2 * _cos(w) / a0, (1 - alpha) / a0)

    def low_pass(self, rate, freq, q):
        w = 2 * PI * freq / rate
        alpha = _sin(w) / (2 * q)
        c = _cos(w)
        a0 = 1 + alpha
        self.set((1 - c) / 2 / a0, (1 - c) / a0, (1 - c) / 2 / a0, -2 * c / a0, (1 - alpha) / a0)

    def high_pass(self, rate, freq, q):
        w = 2 * PI * freq / rate
        alpha = _sin(w) / (2 * q)
        c = _cos(w)
        a0 = 1 + alpha
        self.set((1 + c) / 2 / a0, -(1 + c) / a0, (1 + c) / 2 / a0, -2 * c / a0, (1 - alpha) / a0)

    def run(self, x):
        y = (self.b0 * x + self.b1 * self.x1 + self.b2 * self.x2 - self.a1 * self.y1 -
             self.a2 * self.y2)
        self.x2, self.x1, self.y2, self.y1 = self.x1, x, self.y1, y
        return y


def _to_bytes(signal, peak):
    """Scale so that the largest magnitude is peak (of 127) and store as unsigned 8-bit."""
    top = max(abs(v) for v in signal) or 1.0
    out = []
    for v in signal:
        s = v * peak / top
        # Round half away from zero, explicitly, so no rounding mode matters.
        q = int(s + 0.5) if s >= 0 else -int(-s + 0.5)
        out.append(128 + max(-128, min(127, q)))
    return out


def swing():
    """A whoosh: band-passed noise whose pitch rises and falls with the swing."""
    noise = _Noise(0x5EED1E55)
    band = _Biquad()
    low = _Biquad()
    low.low_pass(SWING_RATE, 900.0, 0.7)
    high = _Biquad()
    high.high_pass(SWING_RATE, 300.0, 0.7)
    sound = SWING_SAMPLES - SWING_SILENCE
    signal = [0.0] * SWING_SILENCE
    for i in range(sound):
        t = i / sound  # 0 at the start of the whoosh, 1 at the end of the file
        # Envelope: a quick swell to the loudest point at a quarter, then a long fade to zero.
        if t < 0.25:
            env = t / 0.25
            env = env * env * (3 - 2 * env)
        else:
            u = (1 - t) / 0.75
            env = u * u * u
        band.band_pass(SWING_RATE, 420.0 + 300.0 * _sin(PI * t), 1.4)
        v = band.run(noise.next())
        signal.append(low.run(high.run(v)) * env)
    return _to_bytes(signal, 64)


def hit():
    """A knock: a short click and three damped tones of a hard, hollow body."""
    noise = _Noise(0x0B0C0DE5)
    click = _Biquad()
    click.band_pass(HIT_RATE, 1800.0, 0.9)
    # (frequency in Hz, level, decay time constant in s)
    tones = [(1250.0, 1.0, 0.080), (1620.0, 0.8, 0.065), (2130.0, 0.45, 0.045),
             (640.0, 0.35, 0.060)]
    signal = []
    decay = [_exp(-1.0 / (tau * HIT_RATE)) for _, _, tau in tones]
    levels = [a for _, a, _ in tones]
    for i in range(HIT_SAMPLES):
        v = 0.0
        for k, (freq, _, _) in enumerate(tones):
            v += levels[k] * _sin(2 * PI * freq * i / HIT_RATE)
            levels[k] *= decay[k]
        # The first few milliseconds carry the impact's noise.
        if i < 200:
            v += 1.2 * click.run(noise.next()) * (1 - i / 200)
        signal.append(v)
    return _to_bytes(signal, 127)
