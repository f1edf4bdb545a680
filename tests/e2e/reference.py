"""What the pictures should show, worked out independently of the program: the boundary roots
stored in the boundary files, the square-wave boundaries from their closed form, where a
(delta, epsilon) point or a displacement lands in the window, and the motion from (y0, v0) by a
fine classical Runge-Kutta integration."""
import math

# The chart's scales after every dialog: window units per unit of delta and of epsilon.
CHART_SCALE_DELTA = 0.09
CHART_SCALE_EPSILON = 0.1
# The response view's vertical scale after every dialog.
Y_SCALE = 0.5
# One frame is ten steps of 0.01.
FRAME_TIME = 0.1


def read_boundary_file(path):
    """-> (beta, [(epsilon, [delta roots])] for each column), read as white-space separated
    numbers: beta, then per column the count, epsilon and the roots."""
    with open(path) as f:
        tokens = f.read().split()
    beta = float(tokens[0])
    columns, i = [], 1
    while i < len(tokens):
        count = int(tokens[i])
        columns.append((float(tokens[i + 1]), [float(t) for t in tokens[i + 2:i + 2 + count]]))
        i += 2 + count
    return beta, columns


def window_to_pixel(x, y, width=800, height=800):
    """Continuous pixel coordinates (x right, y down from the top) of window point (x, y)."""
    return (1.0 + x) * width / 2.0, (1.0 - y) * height / 2.0


def chart_pixel(delta, epsilon, scale=1.0, width=800, height=800):
    """Pixel coordinates of (delta, epsilon) on the chart; scale multiplies both chart scales
    (0.9 after one z)."""
    return window_to_pixel(CHART_SCALE_DELTA * scale * delta, CHART_SCALE_EPSILON * scale * epsilon,
                           width, height)


def covering_pixel(x, y):
    """The pixel whose centre lies nearest (x, y): inside any disc of radius > 0.71 px there."""
    return int(math.floor(x)), int(math.ceil(y)) - 1


def grid_distance(x, y):
    """Pixels from (x, y) to the nearest line of the chart grid or axes (every 36 px in x and
    40 px in y from the origin at the first scales)."""
    dx = abs((x - 400.0 + 18.0) % 36.0 - 18.0)
    dy = abs((y - 400.0 + 20.0) % 40.0 - 20.0)
    return min(dx, dy)


def dot_probes(red_tables, black_tables, epsilons, avoid=(), per_colour=12):
    """Pixels that must show a red or black boundary dot after `a`: roots of the given tables (lists
    of (epsilon, roots) columns) at the chosen epsilons, in the upper right quadrant, at least
    3 px from every grid line, and, for red dots, at least 4 px from every black dot (black is drawn
    later). avoid: extra points (x, y, radius) to stay away from, such as the chosen red point.
    Returns [((px, py), colour)] with colour 'red' or 'black'."""
    def dots(tables, near_rows):
        found = []
        for table in tables:
            for eps, roots in table:
                if near_rows(eps):
                    found.extend(chart_pixel(d, eps) for d in roots)
        return found

    def near(eps, band):
        return any(abs(eps - e) <= band for e in epsilons)

    black_all = dots(black_tables, lambda eps: near(eps, 0.3))
    probes = []
    for colour, tables in (("red", red_tables), ("black", black_tables)):
        chosen = 0
        for x, y in dots(tables, lambda eps: near(eps, 1e-9)):
            if chosen == per_colour:
                break
            if not (406 <= x <= 794 and 6 <= y <= 394) or grid_distance(x, y) < 3:
                continue
            if colour == "red" and any(math.hypot(x - bx, y - by) < 4 for bx, by in black_all):
                continue
            if any(math.hypot(x - ax, y - ay) < r for ax, ay, r in avoid):
                continue
            probes.append((covering_pixel(x, y), colour))
            chosen += 1
    return probes


def square_wave_half_trace(beta, delta, epsilon):
    """Half the trace of the one-period transfer matrix of u'' + (K - beta^2) u = 0, where
    y = e^(-beta t) u, for K = delta + epsilon on (0, pi) and delta - epsilon on (pi, 2 pi)."""
    w1 = delta + epsilon - beta * beta     # u'' + w1 u = 0 on the first half period
    w2 = delta - epsilon - beta * beta

    def half_period(w):
        """Transfer matrix over pi of u'' + w u = 0."""
        if w > 0:
            s = math.sqrt(w)
            c, sn = math.cos(s * math.pi), math.sin(s * math.pi)
            return ((c, sn / s), (-s * sn, c))
        if w < 0:
            s = math.sqrt(-w)
            c, sh = math.cosh(s * math.pi), math.sinh(s * math.pi)
            return ((c, sh / s), (s * sh, c))
        return ((1.0, math.pi), (0.0, 1.0))

    a, b = half_period(w1), half_period(w2)
    return 0.5 * (b[0][0] * a[0][0] + b[0][1] * a[1][0] + b[1][0] * a[0][1] + b[1][1] * a[1][1])


def square_wave_roots(beta, epsilon, period_doubled):
    """delta in [-1, 10] where the square-wave equation has a solution of period 2 pi (a multiplier
    of y equal to +1: half trace = cosh 2 pi beta) or, with period_doubled, of period 4 pi (-1)."""
    h = math.cosh(2.0 * math.pi * beta)

    def f(d):
        r = square_wave_half_trace(beta, d, epsilon)
        return r + h if period_doubled else r - h

    roots, step = [], 0.001
    a, fa = -1.0, f(-1.0)
    while a < 10.0:
        b = min(a + step, 10.0)
        fb = f(b)
        if fa * fb < 0:
            lo, hi, flo = a, b, fa
            for _ in range(60):
                mid = 0.5 * (lo + hi)
                fm = f(mid)
                if flo * fm <= 0:
                    hi = mid
                else:
                    lo, flo = mid, fm
            roots.append(0.5 * (lo + hi))
        a, fa = b, fb
    return roots


def motion(kind, beta, delta, epsilon, y0, v0, frames):
    """(y, v) after frames display calls (0.1 each) of y'' + 2 beta y' + K(t) y = 0, by classical
    fourth-order Runge-Kutta with 100 steps per frame (error far below a pixel)."""
    def stiffness(t):
        if kind == "m":
            return delta + epsilon * math.cos(t)
        return delta + epsilon if (t % (2.0 * math.pi)) < math.pi else delta - epsilon

    def f(t, y, v):
        return v, -2.0 * beta * v - stiffness(t) * y

    y, v, t, h = y0, v0, 0.0, FRAME_TIME / 100
    for _ in range(100 * frames):
        k1 = f(t, y, v)
        k2 = f(t + h / 2, y + h / 2 * k1[0], v + h / 2 * k1[1])
        k3 = f(t + h / 2, y + h / 2 * k2[0], v + h / 2 * k2[1])
        k4 = f(t + h, y + h * k3[0], v + h * k3[1])
        y += h / 6 * (k1[0] + 2 * k2[0] + 2 * k3[0] + k4[0])
        v += h / 6 * (k1[1] + 2 * k2[1] + 2 * k3[1] + k4[1])
        t += h
    return y, v


def mass_row(y):
    """Row (continuous, from the top) of the centre of the mass at displacement y."""
    return window_to_pixel(0.0, Y_SCALE * y)[1]
