"""What the pictures should show, worked out independently of the program: where a (delta, epsilon)
point or a displacement lands in the window, and the motion from (y0, v0) by a fine
classical Runge-Kutta integration."""
import math

# The chart's scales after every dialog: window units per unit of delta and of epsilon.
CHART_SCALE_DELTA = 0.09
CHART_SCALE_EPSILON = 0.1
# The response view's vertical scale after every dialog.
Y_SCALE = 0.5
# One frame is ten steps of 0.01.
FRAME_TIME = 0.1


def window_to_pixel(x, y, width=800, height=800):
    """Continuous pixel coordinates (x right, y down from the top) of window point (x, y)."""
    return (1.0 + x) * width / 2.0, (1.0 - y) * height / 2.0


def chart_pixel(delta, epsilon, scale=1.0, width=800, height=800):
    """Pixel coordinates of (delta, epsilon) on the chart; scale multiplies both chart scales
    (0.9 after one z)."""
    return window_to_pixel(CHART_SCALE_DELTA * scale * delta, CHART_SCALE_EPSILON * scale * epsilon,
                           width, height)


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
