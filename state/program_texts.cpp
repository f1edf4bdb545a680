// paravib's console texts and window caption in Japanese, byte for byte the ones its users know:
// "　" is U+3000, "，" U+FF0C, "：" U+FF1A, "．" U+FF0E, "Ｔ" U+FF34.
#include "state/program_texts.h"

#include "state/program_hooks.h"
#include "state/program_state.h"

const program_texts japanese_program_texts = {
    {
        "\n\n係数励振型自励振動の描画  Mathieuの式または矩形波係数励振",
        "\n\nキー入力  (1) 振動系の選択",
        "\nキー入力  (2) β",
        "\nキー入力  (3) δ，ε",
        "\n        　(4) 初期条件",
        "\n\n(1) Mathieu式　or　矩形波励振の選択　キー入力 m or r=",
    },
    "\nm:正規化Mathieuの式　ddy/ddt+2β*dy/dt+(δ+εcos(t))*y=0",
    "\nm:正規化矩形波励振 　ddy/ddt+2β*dy/dt+(δ±ε)*y=0",
    "\n\n(2) キー入力　β=",
    "\n安定限界B1(δ,ε)=0を計算中．．．．",
    "\n安定限界B2(δ,ε)=0を計算中．．．．",
    "\n矩形波励振 周期Ｔの安定限界RA(δ,ε)=0を計算中．．．．",
    "\n矩形波励振 周期2Tの安定限界RA(δ,ε)=0を計算中．．．．",
    "\n\n(3) キー入力  δ ε=",
    "\n\n(4) 初期条件　キー入力  y0 v0=",
    "\n数値として読めません。もう一度入力してください。",
    {
        "\n振動曲線描画表示　赤：応答　緑：速度　青：係数励振\n",
        "\n's'キー：振動描画継続                      'Y', 'y'キー：振動曲線縦倍率増減",
        "\n'k'キー：Mathieu式・矩形波係数励振の選択   'T', 't'キー：振動曲線時間軸伸縮",
        "\n'b'キー：β変更                            'z', 'Z'キー：安定領域図縦横軸伸縮",
        "\n'd'キー：δ,ε変更",
        "\n'j'キー：初期条件変更",
        "\n'a'キー：安定限界図表示（その時のみ）",
    },
    "\nESCキー：終了\n",
    // The fourth names the curve Ds3 while it reads the Ds2 file: that is the text users know.
    {
        "\nβ=0 安定限界(1) Dc1(δ,ε)=0のデータ読み出し",
        "\nβ=0 安定限界(2) Ds1(δ,ε)=0のデータ読み出し",
        "\nβ=0 安定限界(3) Dc2(δ,ε)=0のデータ読み出し",
        "\nβ=0 安定限界(4) Ds3(δ,ε)=0のデータ読み出し",
    },
    {
        "\nβ=%4.2f 安定限界(5) B1(δ,ε)=0のデータ読み出し",
        "\nβ=%4.2f 安定限界(6) B2(δ,ε)=0のデータ読み出し",
    },
    "\n%s を読み込めません（ファイルがないか，形式が正しくありません）。安定限界を計算中．．．．",
    "\n理由：どの列にも根がありません",
    "\n理由：%s",
    window_title,
};

const program_texts& program_text() {
    return hooks.texts != nullptr ? *hooks.texts : japanese_program_texts;
}
