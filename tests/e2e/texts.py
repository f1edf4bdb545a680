"""The console texts and the window caption of paravib, byte for byte (UTF-8), and the transcript
of whole dialog passes built from them. The end-to-end tests compare the real program's output
with these strings exactly."""

HEADER = ("\n\n係数励振型自励振動の描画  Mathieuの式または矩形波係数励振"
          "\n\nキー入力  (1) 振動系の選択"
          "\nキー入力  (2) β"
          "\nキー入力  (3) δ，ε"
          "\n        　(4) 初期条件"
          "\n\n(1) Mathieu式　or　矩形波励振の選択　キー入力 m or r=")
MATHIEU_LINE = "\nm:正規化Mathieuの式　ddy/ddt+2β*dy/dt+(δ+εcos(t))*y=0"
SQUARE_LINE = "\nm:正規化矩形波励振 　ddy/ddt+2β*dy/dt+(δ±ε)*y=0"

BETA_PROMPT = "\n\n(2) キー入力　β="
POINT_PROMPT = "\n\n(3) キー入力  δ ε="
INITIAL_PROMPT = "\n\n(4) 初期条件　キー入力  y0 v0="

SCAN_MATHIEU = ("\n安定限界B1(δ,ε)=0を計算中．．．．",
                "\n安定限界B2(δ,ε)=0を計算中．．．．")
SCAN_SQUARE = ("\n矩形波励振 周期Ｔの安定限界RA(δ,ε)=0を計算中．．．．",
               "\n矩形波励振 周期2Tの安定限界RA(δ,ε)=0を計算中．．．．")

# The loader's lines for beta = 0: a line feed, then one line before each of the four files
# (the fourth names Ds3 while it reads "fileds2").
UNDAMPED_FILES = ("filedc1", "fileds1", "filedc2", "fileds2")
UNDAMPED_LOAD_LINES = ("\nβ=0 安定限界(1) Dc1(δ,ε)=0のデータ読み出し",
                       "\nβ=0 安定限界(2) Ds1(δ,ε)=0のデータ読み出し",
                       "\nβ=0 安定限界(3) Dc2(δ,ε)=0のデータ読み出し",
                       "\nβ=0 安定限界(4) Ds3(δ,ε)=0のデータ読み出し")

RETRY = "\n数値として読めません。もう一度入力してください。"

HELP = ("\n振動曲線描画表示　赤：応答　緑：速度　青：係数励振\n"
        "\n's'キー：振動描画継続                      'Y', 'y'キー：振動曲線縦倍率増減"
        "\n'k'キー：Mathieu式・矩形波係数励振の選択   'T', 't'キー：振動曲線時間軸伸縮"
        "\n'b'キー：β変更                            'z', 'Z'キー：安定領域図縦横軸伸縮"
        "\n'd'キー：δ,ε変更"
        "\n'j'キー：初期条件変更"
        "\n'a'キー：安定限界図表示（その時のみ）"
        "\nESCキー：終了\n")

CAPTION = "係数励振型自励振動　k:振動系 b:β d:δ,ε j:初期条件 変更 s:描画継続"

# The part of the caption that xdotool can match whatever encoding the caption is stored in.
CAPTION_ASCII_PART = "k:"


def unreadable_file(name):
    """The loader's line for a boundary file it cannot use (then the table is scanned)."""
    return ("\n%s を読み込めません（ファイルがないか，形式が正しくありません）。"
            "安定限界を計算中．．．．" % name)


def undamped_load(missing=()):
    """Loader output for beta = 0; files named in missing are reported and scanned."""
    text = "\n"
    for name, line in zip(UNDAMPED_FILES, UNDAMPED_LOAD_LINES):
        text += line + (unreadable_file(name) if name in missing else "")
    return text


def damped_load(beta, b1_name=None, b2_name=None, missing=()):
    """Loader output for a tabled beta > 0, e.g. damped_load(0.1) for "fileb1010", "fileb2010"."""
    code = "%03d" % round(100 * beta)
    b1_name = b1_name or "fileb1" + code
    b2_name = b2_name or "fileb2" + code
    return ("\n\nβ=%4.2f 安定限界(5) B1(δ,ε)=0のデータ読み出し" % beta
            + (unreadable_file(b1_name) if b1_name in missing else "")
            + "\nβ=%4.2f 安定限界(6) B2(δ,ε)=0のデータ読み出し" % beta
            + (unreadable_file(b2_name) if b2_name in missing else ""))
