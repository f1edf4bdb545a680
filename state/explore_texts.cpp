// The explorer's texts in Japanese and in English. The Japanese console texts are paravib's own;
// the English ones say the same in the words of an English course on vibration.
#include "state/explore_texts.h"

namespace {

const window_texts latin_window_texts = {
    "phase plane : y across, v up",
    "|mu|max = %.4g per period: %s",
    "stable",
    "unstable",
    "Mathieu",
    "square wave",
    "no equation",
    "%s  beta=%.4g  delta=%.3f  eps=%.3f",
    "  t=%.2f",
    "  |mu|max=%.4g %s",
    "|mu|max not finite here: no verdict",
    "  |mu|max not finite, no verdict",
    "inside a tongue (shaded): unstable",
};

const program_texts english_program_texts = {
    {
        "\n\nParametrically excited vibration  Mathieu equation or square-wave excitation",
        "\n\nInput  (1) the system",
        "\nInput  (2) β",
        "\nInput  (3) δ, ε",
        "\n       (4) initial values",
        "\n\n(1) Mathieu equation or square wave: press m or r=",
    },
    "\nm: normalised Mathieu equation  ddy/ddt+2β*dy/dt+(δ+εcos(t))*y=0",
    "\nr: normalised square-wave excitation  ddy/ddt+2β*dy/dt+(δ±ε)*y=0",
    "\n\n(2) Input  β=",
    "\nComputing the stability boundary B1(δ,ε)=0 ....",
    "\nComputing the stability boundary B2(δ,ε)=0 ....",
    "\nSquare wave: computing the period-T stability boundary RA(δ,ε)=0 ....",
    "\nSquare wave: computing the period-2T stability boundary RA(δ,ε)=0 ....",
    "\n\n(3) Input  δ ε=",
    "\n\n(4) Initial values  Input  y0 v0=",
    "\nThis is not a number. Please type it again.",
    {
        "\nResponse curves  red: displacement  green: velocity  blue: excitation\n",
        "\n's' key: continue the motion                 'Y', 'y' keys: response scale up, down",
        "\n'k' key: choose Mathieu or square wave       'T', 't' keys: time axis longer, shorter",
        "\n'b' key: change β                            'z', 'Z' keys: chart smaller, larger",
        "\n'd' key: change δ, ε",
        "\n'j' key: change the initial values",
        "\n'a' key: show the stability chart",
    },
    "\nESC key: quit\n",
    {
        "\nβ=0 stability boundary (1) Dc1(δ,ε)=0: reading the data",
        "\nβ=0 stability boundary (2) Ds1(δ,ε)=0: reading the data",
        "\nβ=0 stability boundary (3) Dc2(δ,ε)=0: reading the data",
        "\nβ=0 stability boundary (4) Ds3(δ,ε)=0: reading the data",
    },
    {
        "\nβ=%4.2f stability boundary (5) B1(δ,ε)=0: reading the data",
        "\nβ=%4.2f stability boundary (6) B2(δ,ε)=0: reading the data",
    },
    "\nCannot read %s (the file is missing or its format is wrong). Computing the stability "
    "boundary ....",
    "\nReason: no column holds a root",
    "\nReason: %s",
    "Parametric vibration  k: system b: β d: δ,ε j: initial values  s: continue",
};

}  // namespace

const explore_texts japanese_explore_texts = {
    'j',
    &japanese_program_texts,
    {
        "\n'p'キー：位相平面(y,v)表示切替",
        "\n'w'キー：画面をPNG画像に保存",
        "\n'v'キー：画面をSVG画像に保存",
        "\n左クリック：安定限界図の上でδ,εを選択（図の表示中）",
        "\n'a'キー：安定限界図を表示したまま's'で振動描画継続、もう一度'a'で消去",
        "\n'z', 'Z'キー：赤い点を中心に安定限界図を縮小・拡大",
        "\n矢印キー：δ,εを1画素移動（Shiftと共に10画素）　Ctrl+矢印キー：図の移動",
    },
    "\nm（Mathieu式）か r（矩形波励振）のキーを押してください",
    "\n(3) 図上で選択  δ ε= %.3f %.3f",
    "\n画像を保存しました: %s",
    "\n画像を保存できません: %s (%s)",
    "\n画像を保存できません: 画面を読み取れません",
    "\n実験 %d: %s",
    &latin_window_texts,
};

const explore_texts english_explore_texts = {
    'e',
    &english_program_texts,
    {
        "\n'p' key: phase plane (y, v) on or off",
        "\n'w' key: save the picture as a PNG file",
        "\n'v' key: save the picture as an SVG file",
        "\nLeft click: choose δ, ε on the stability chart (while it is shown)",
        "\n'a' key: keep the chart shown while 's' continues the motion; 'a' again hides it",
        "\n'z', 'Z' keys: chart smaller, larger about the red point",
        "\nArrow keys: move δ, ε by one pixel (ten with Shift)  Ctrl+arrow keys: move the chart",
    },
    "\nPlease press m (Mathieu equation) or r (square-wave excitation)",
    "\n(3) chosen on the chart  δ ε= %.3f %.3f",
    "\nPicture saved: %s",
    "\nCannot save the picture: %s (%s)",
    "\nCannot save the picture: the screen cannot be read",
    "\nExperiment %d: %s",
    &latin_window_texts,
};

const explore_texts* explore_language = &japanese_explore_texts;

const explore_texts& explore_text() { return *explore_language; }
