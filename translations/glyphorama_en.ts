<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>CharacterGrid</name>
    <message>
        <source>文字の一覧</source>
        <translation>Character grid</translation>
    </message>
</context>
<context>
    <name>CharacterTab</name>
    <message>
        <source>文字</source>
        <translation>Characters</translation>
    </message>
    <message>
        <source>選んだ文字</source>
        <translation>Chosen character</translation>
    </message>
    <message>
        <source>文字数とグリフ数</source>
        <translation>Characters and glyphs</translation>
    </message>
    <message>
        <source>文字集合とブロックの収録数</source>
        <translation>Coverage of character sets and blocks</translation>
    </message>
    <message>
        <source>文字集合</source>
        <translation>Character set</translation>
    </message>
    <message>
        <source>収録数</source>
        <translation>Covered</translation>
    </message>
    <message>
        <source>割合</source>
        <translation>Share</translation>
    </message>
    <message>
        <source>かな</source>
        <translation>Kana</translation>
    </message>
    <message>
        <source>常用漢字</source>
        <translation>Jōyō kanji</translation>
    </message>
    <message>
        <source>人名用漢字</source>
        <translation>Jinmeiyō kanji</translation>
    </message>
    <message>
        <source>JIS X 0208 第1水準</source>
        <translation>JIS X 0208 level 1</translation>
    </message>
    <message>
        <source>JIS X 0208 第2水準</source>
        <translation>JIS X 0208 level 2</translation>
    </message>
    <message>
        <source>JIS X 0213</source>
        <translation>JIS X 0213</translation>
    </message>
    <message>
        <source>文字 %1 ・ グリフ %2</source>
        <translation>%1 characters · %2 glyphs</translation>
    </message>
    <message>
        <source>このフォントのファイルを読めませんでした。</source>
        <translation>The font file could not be read.</translation>
    </message>
    <message>
        <source>日本語の文字集合</source>
        <translation>Japanese character sets</translation>
    </message>
    <message>
        <source>Unicode のブロック</source>
        <translation>Unicode blocks</translation>
    </message>
</context>
<context>
    <name>FeatureNames</name>
    <message>
        <source>すべての異体字</source>
        <translation>Access All Alternates</translation>
    </message>
    <message>
        <source>分数（縦組み）</source>
        <translation>Alternative Fractions</translation>
    </message>
    <message>
        <source>大文字からスモールキャップ</source>
        <translation>Small Capitals From Capitals</translation>
    </message>
    <message>
        <source>前後関係に依存する字形</source>
        <translation>Contextual Alternates</translation>
    </message>
    <message>
        <source>大文字用の字形</source>
        <translation>Case-Sensitive Forms</translation>
    </message>
    <message>
        <source>字形の合成と分解</source>
        <translation>Glyph Composition / Decomposition</translation>
    </message>
    <message>
        <source>前後関係に依存する合字</source>
        <translation>Contextual Ligatures</translation>
    </message>
    <message>
        <source>中央揃えの句読点</source>
        <translation>Centered CJK Punctuation</translation>
    </message>
    <message>
        <source>大文字の字間</source>
        <translation>Capital Spacing</translation>
    </message>
    <message>
        <source>筆記体の接続</source>
        <translation>Cursive Positioning</translation>
    </message>
    <message>
        <source>任意の合字</source>
        <translation>Discretionary Ligatures</translation>
    </message>
    <message>
        <source>分母</source>
        <translation>Denominators</translation>
    </message>
    <message>
        <source>専門用字形</source>
        <translation>Expert Forms</translation>
    </message>
    <message>
        <source>行末の異体字</source>
        <translation>Final Glyph on Line Alternates</translation>
    </message>
    <message>
        <source>語末形</source>
        <translation>Terminal Forms</translation>
    </message>
    <message>
        <source>分数</source>
        <translation>Fractions</translation>
    </message>
    <message>
        <source>全角幅</source>
        <translation>Full Widths</translation>
    </message>
    <message>
        <source>半角の字送り</source>
        <translation>Alternate Half Widths</translation>
    </message>
    <message>
        <source>歴史的字形</source>
        <translation>Historical Forms</translation>
    </message>
    <message>
        <source>横書き用かな</source>
        <translation>Horizontal Kana Alternates</translation>
    </message>
    <message>
        <source>歴史的合字</source>
        <translation>Historical Ligatures</translation>
    </message>
    <message>
        <source>ハングル</source>
        <translation>Hangul</translation>
    </message>
    <message>
        <source>JIS X 0212 字形</source>
        <translation>Hojo Kanji Forms</translation>
    </message>
    <message>
        <source>半角幅</source>
        <translation>Half Widths</translation>
    </message>
    <message>
        <source>語頭形</source>
        <translation>Initial Forms</translation>
    </message>
    <message>
        <source>独立形</source>
        <translation>Isolated Forms</translation>
    </message>
    <message>
        <source>イタリック</source>
        <translation>Italics</translation>
    </message>
    <message>
        <source>両端揃え用の異体字</source>
        <translation>Justification Alternates</translation>
    </message>
    <message>
        <source>JIS2004 字形</source>
        <translation>JIS2004 Forms</translation>
    </message>
    <message>
        <source>JIS78 字形</source>
        <translation>JIS78 Forms</translation>
    </message>
    <message>
        <source>JIS83 字形</source>
        <translation>JIS83 Forms</translation>
    </message>
    <message>
        <source>JIS90 字形</source>
        <translation>JIS90 Forms</translation>
    </message>
    <message>
        <source>カーニング</source>
        <translation>Kerning</translation>
    </message>
    <message>
        <source>左端の字送り</source>
        <translation>Left Bounds</translation>
    </message>
    <message>
        <source>標準の合字</source>
        <translation>Standard Ligatures</translation>
    </message>
    <message>
        <source>ライニング数字</source>
        <translation>Lining Figures</translation>
    </message>
    <message>
        <source>地域の字形</source>
        <translation>Localized Forms</translation>
    </message>
    <message>
        <source>マークの位置</source>
        <translation>Mark Positioning</translation>
    </message>
    <message>
        <source>語中形</source>
        <translation>Medial Forms</translation>
    </message>
    <message>
        <source>数学用ギリシャ文字</source>
        <translation>Mathematical Greek</translation>
    </message>
    <message>
        <source>マークとマークの位置</source>
        <translation>Mark to Mark Positioning</translation>
    </message>
    <message>
        <source>囲み文字などの異体字</source>
        <translation>Alternate Annotation Forms</translation>
    </message>
    <message>
        <source>常用漢字表の字形</source>
        <translation>NLC Kanji Forms</translation>
    </message>
    <message>
        <source>分子</source>
        <translation>Numerators</translation>
    </message>
    <message>
        <source>オールドスタイル数字</source>
        <translation>Oldstyle Figures</translation>
    </message>
    <message>
        <source>視覚的な端揃え</source>
        <translation>Optical Bounds</translation>
    </message>
    <message>
        <source>序数</source>
        <translation>Ordinals</translation>
    </message>
    <message>
        <source>装飾</source>
        <translation>Ornaments</translation>
    </message>
    <message>
        <source>プロポーショナルの字送り</source>
        <translation>Proportional Alternate Widths</translation>
    </message>
    <message>
        <source>小文字のスモールキャップ</source>
        <translation>Petite Capitals</translation>
    </message>
    <message>
        <source>プロポーショナルかな</source>
        <translation>Proportional Kana</translation>
    </message>
    <message>
        <source>プロポーショナル数字</source>
        <translation>Proportional Figures</translation>
    </message>
    <message>
        <source>プロポーショナル幅</source>
        <translation>Proportional Widths</translation>
    </message>
    <message>
        <source>四分角幅</source>
        <translation>Quarter Widths</translation>
    </message>
    <message>
        <source>必須の合字</source>
        <translation>Required Ligatures</translation>
    </message>
    <message>
        <source>右端の字送り</source>
        <translation>Right Bounds</translation>
    </message>
    <message>
        <source>右から左の異体字</source>
        <translation>Right-to-left Alternates</translation>
    </message>
    <message>
        <source>ルビ用の字形</source>
        <translation>Ruby Notation Forms</translation>
    </message>
    <message>
        <source>様式の異体字</source>
        <translation>Stylistic Alternates</translation>
    </message>
    <message>
        <source>科学用下付き</source>
        <translation>Scientific Inferiors</translation>
    </message>
    <message>
        <source>スモールキャップ</source>
        <translation>Small Capitals</translation>
    </message>
    <message>
        <source>簡体字</source>
        <translation>Simplified Forms</translation>
    </message>
    <message>
        <source>下付き</source>
        <translation>Subscript</translation>
    </message>
    <message>
        <source>上付き</source>
        <translation>Superscript</translation>
    </message>
    <message>
        <source>スワッシュ</source>
        <translation>Swash</translation>
    </message>
    <message>
        <source>タイトル用字形</source>
        <translation>Titling</translation>
    </message>
    <message>
        <source>伝統的な名前の字形</source>
        <translation>Traditional Name Forms</translation>
    </message>
    <message>
        <source>等幅数字</source>
        <translation>Tabular Figures</translation>
    </message>
    <message>
        <source>伝統字形</source>
        <translation>Traditional Forms</translation>
    </message>
    <message>
        <source>三分角幅</source>
        <translation>Third Widths</translation>
    </message>
    <message>
        <source>大小文字の統一</source>
        <translation>Unicase</translation>
    </message>
    <message>
        <source>縦書きの字送り</source>
        <translation>Alternate Vertical Metrics</translation>
    </message>
    <message>
        <source>縦書き</source>
        <translation>Vertical writing</translation>
    </message>
    <message>
        <source>縦書きの半角字送り</source>
        <translation>Alternate Vertical Half Metrics</translation>
    </message>
    <message>
        <source>縦書き用かな</source>
        <translation>Vertical Kana Alternates</translation>
    </message>
    <message>
        <source>縦書きのカーニング</source>
        <translation>Vertical Kerning</translation>
    </message>
    <message>
        <source>縦書きのプロポーショナル字送り</source>
        <translation>Proportional Alternate Vertical Metrics</translation>
    </message>
    <message>
        <source>縦書きの異体字と回転</source>
        <translation>Vertical Alternates and Rotation</translation>
    </message>
    <message>
        <source>縦書き用の回転</source>
        <translation>Vertical Alternates for Rotation</translation>
    </message>
    <message>
        <source>スラッシュ付きゼロ</source>
        <translation>Slashed Zero</translation>
    </message>
    <message>
        <source>スタイルセット %1</source>
        <translation>Stylistic Set %1</translation>
    </message>
    <message>
        <source>文字の異体字 %1</source>
        <translation>Character Variant %1</translation>
    </message>
</context>
<context>
    <name>FeaturesTab</name>
    <message>
        <source>太さ</source>
        <translation>Weight</translation>
    </message>
    <message>
        <source>幅</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>オプティカルサイズ</source>
        <translation>Optical Size</translation>
    </message>
    <message>
        <source>傾き</source>
        <translation>Slant</translation>
    </message>
    <message>
        <source>イタリック</source>
        <translation>Italics</translation>
    </message>
    <message>
        <source>縦書き</source>
        <translation>Vertical writing</translation>
    </message>
    <message>
        <source>OpenType の機能</source>
        <translation>OpenType features</translation>
    </message>
    <message>
        <source>可変軸</source>
        <translation>Variation axes</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>FontDetailsForm</name>
    <message>
        <source>フォントの詳細 - %1</source>
        <translation>Font details - %1</translation>
    </message>
    <message>
        <source>見本</source>
        <translation>Sample</translation>
    </message>
    <message>
        <source>形式</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>バージョン</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>グリフ数</source>
        <translation>Glyphs</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>File</translation>
    </message>
    <message>
        <source>言語</source>
        <translation>Languages</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>Names</translation>
    </message>
    <message>
        <source>フォント名をコピー</source>
        <translation>Copy font name</translation>
    </message>
    <message>
        <source>フォルダーを開く</source>
        <translation>Open folder</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>fontconfig はこのフォントを知りません。</source>
        <translation>fontconfig does not know this font.</translation>
    </message>
    <message>
        <source>%1 (フェイス %2)</source>
        <translation>%1 (face %2)</translation>
    </message>
    <message>
        <source>読み込みエラー</source>
        <translation>Read error</translation>
    </message>
    <message>
        <source>ファイルを読めませんでした (%1)</source>
        <translation>The file could not be read (%1)</translation>
    </message>
    <message>
        <source>フルネーム</source>
        <translation>Full name</translation>
    </message>
    <message>
        <source>著作権</source>
        <translation>Copyright</translation>
    </message>
    <message>
        <source>ライセンス</source>
        <translation>Licence</translation>
    </message>
    <message>
        <source>ライセンスの URL</source>
        <translation>Licence URL</translation>
    </message>
    <message>
        <source>対応言語</source>
        <translation>Languages covered</translation>
    </message>
    <message>
        <source>スタイル</source>
        <comment>one face&apos;s style</comment>
        <translation>Style</translation>
    </message>
    <message>
        <source>スタイル</source>
        <comment>the tab of all styles</comment>
        <translation>Styles</translation>
    </message>
    <message>
        <source>フォルダーを開くプログラムが見つかりませんでした。フォルダーの場所:
%1</source>
        <translation>No program was found to open the folder. The folder is at:
%1</translation>
    </message>
    <message>
        <source>このスタイルのファイルは読めないか、壊れています。読めたことは「スタイル」のタブにあります。</source>
        <translation>This style&apos;s file cannot be read or is damaged. What could be read is in the Styles tab.</translation>
    </message>
    <message>
        <source>スタイルの一覧</source>
        <translation>Styles</translation>
    </message>
    <message>
        <source>スタイルの情報</source>
        <translation>About the style</translation>
    </message>
    <message>
        <source>機能</source>
        <translation>Features</translation>
    </message>
    <message>
        <source>文字</source>
        <translation>Characters</translation>
    </message>
</context>
<context>
    <name>FontWaterfall</name>
    <message>
        <source>%1 pt</source>
        <translation>%1 pt</translation>
    </message>
</context>
<context>
    <name>NoMatchNotice</name>
    <message numerus="yes">
        <source>%1 で %n 件</source>
        <translation>
            <numerusform>%n match in %1</numerusform>
            <numerusform>%n matches in %1</numerusform>
        </translation>
    </message>
    <message>
        <source>このビューには一致するフォントがありません</source>
        <translation>No font in this view matches</translation>
    </message>
    <message>
        <source>ほかのビューにもありません</source>
        <translation>Nor does any in the other views</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
</context>
<context>
    <name>OrganiseControls</name>
    <message>
        <source>%1 — Ctrl+Z で元に戻せます</source>
        <translation>%1 — Ctrl+Z takes it back</translation>
    </message>
    <message>
        <source>元に戻しました: %1 — Ctrl+Shift+Z でやり直せます</source>
        <translation>Undone: %1 — Ctrl+Shift+Z redoes it</translation>
    </message>
    <message>
        <source>やり直しました: %1 — Ctrl+Z で元に戻せます</source>
        <translation>Redone: %1 — Ctrl+Z takes it back</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>やり直す</source>
        <translation>Redo</translation>
    </message>
</context>
<context>
    <name>OrganiseSteps</name>
    <message>
        <source>「%1」</source>
        <translation>“%1”</translation>
    </message>
    <message numerus="yes">
        <source>%n 個のフォント</source>
        <translation>
            <numerusform>%n font</numerusform>
            <numerusform>%n fonts</numerusform>
        </translation>
    </message>
    <message>
        <source>%1をゴミ箱へ移しました</source>
        <translation>%1 moved to the Trash</translation>
    </message>
    <message>
        <source>%1をお気に入りに追加しました</source>
        <translation>%1 added to Favourites</translation>
    </message>
    <message>
        <source>%1をタグ「%2」に追加しました</source>
        <translation>%1 added to the tag “%2”</translation>
    </message>
    <message>
        <source>%1をゴミ箱から戻しました</source>
        <translation>%1 restored from the Trash</translation>
    </message>
    <message>
        <source>%1をお気に入りから外しました</source>
        <translation>%1 taken out of Favourites</translation>
    </message>
    <message>
        <source>%1をタグ「%2」から外しました</source>
        <translation>%1 taken out of the tag “%2”</translation>
    </message>
    <message>
        <source>タグ「%1」を作りました</source>
        <translation>Tag “%1” created</translation>
    </message>
    <message>
        <source>タグ「%1」を「%2」に変更しました</source>
        <translation>Tag “%1” renamed to “%2”</translation>
    </message>
    <message>
        <source>タグ「%1」を削除しました</source>
        <translation>Tag “%1” deleted</translation>
    </message>
    <message>
        <source>%1 を元に戻せません</source>
        <translation>%1 cannot be put back as it was</translation>
    </message>
    <message>
        <source>%1 はこの操作のあとで変更されているため、元に戻しません</source>
        <translation>%1 has changed since this step and is left as it is</translation>
    </message>
</context>
<context>
    <name>SampleViewControls</name>
    <message>
        <source>フォント名で検索</source>
        <translation>Search font names</translation>
    </message>
    <message>
        <source>フォント名で検索 (Ctrl+F)</source>
        <translation>Search font names (Ctrl+F)</translation>
    </message>
    <message>
        <source>検索を消去</source>
        <translation>Clear search</translation>
    </message>
    <message>
        <source>ツールメニュー</source>
        <translation>Tool menu</translation>
    </message>
    <message>
        <source>サンプルテキスト</source>
        <translation>Sample text</translation>
    </message>
    <message>
        <source>表示できるフォントだけ</source>
        <translation>Only fonts that can show it</translation>
    </message>
    <message>
        <source>サンプルテキストをすべて表示できるフォントだけ</source>
        <translation>Only fonts that can show the whole sample text</translation>
    </message>
    <message numerus="yes">
        <source>%n fonts</source>
        <translation>
            <numerusform>%n font</numerusform>
            <numerusform>%n fonts</numerusform>
        </translation>
    </message>
    <message>
        <source>表示できない文字が少ない順に並べる</source>
        <translation>Fewest missing characters first</translation>
    </message>
    <message>
        <source>サンプルテキストの文字が欠けていないフォントを先に表示します</source>
        <translation>Shows first the fonts that lack the fewest characters of the sample text</translation>
    </message>
    <message>
        <source>サンプルテキストを入力すると絞り込みます。</source>
        <translation>Narrows the view once a sample text is entered.</translation>
    </message>
    <message>
        <source>%1 pt</source>
        <translation>%1 pt</translation>
    </message>
    <message>
        <source>サンプルの大きさ (Ctrl+プラス、Ctrl+マイナス、Ctrl+0、Ctrl+ホイール)</source>
        <translation>Sample size (Ctrl+Plus, Ctrl+Minus, Ctrl+0, Ctrl+wheel)</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>No Japanese font is installed, so the Japanese texts of this program show as boxes.
Install one, for example the package fonts-noto-cjk or fonts-ipafont-gothic (sudo apt install fonts-noto-cjk), and start the program again; or switch the interface to English in the tool menu (言語 / Language &gt; English).

日本語フォントがインストールされていません。fonts-noto-cjk または fonts-ipafont-gothic パッケージをインストールしてから起動し直してください。</source>
        <translation>No Japanese font is installed, so Japanese text (font names, sample text) shows as boxes.
Install one, for example the package fonts-noto-cjk or fonts-ipafont-gothic (sudo apt install fonts-noto-cjk), and start the program again.</translation>
    </message>
    <message>
        <source>Glyphorama is already running for this user (process %1) but does not answer, so this start ends without touching its settings or tags. Bring that program back (it may be stopped: kill -CONT %1) or end it, then start again.
Glyphorama はすでに起動していますが応答しません（プロセス %1）。設定とタグを守るため、この起動は終了します。</source>
        <translation>Glyphorama is already running for this user (process %1) but does not answer, so this start ends without touching its settings or tags. Bring that program back (it may be stopped: kill -CONT %1) or end it, then start again.</translation>
    </message>
</context>
<context>
    <name>TAboutForm</name>
    <message>
        <source>バージョン情報:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>1.00</source>
        <translation>1.00</translation>
    </message>
    <message>
        <source>Public Beta 10</source>
        <translation>Public Beta 10</translation>
    </message>
    <message>
        <source>Glyphorama をご利用頂き、有難うございます。</source>
        <translation>Thank you for using Glyphorama.</translation>
    </message>
</context>
<context>
    <name>TAppCore</name>
    <message>
        <source>タグ名に %1は使用できません。</source>
        <translation>A tag name cannot contain these characters: %1</translation>
    </message>
</context>
<context>
    <name>TFontPool</name>
    <message>
        <source>%1タグ</source>
        <translation>%1 tag</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>日本語フォント</source>
        <translation>Japanese fonts</translation>
    </message>
    <message>
        <source>欧文フォント</source>
        <translation>Western fonts</translation>
    </message>
    <message>
        <source>全て</source>
        <translation>All</translation>
    </message>
    <message>
        <source>新しいタグ</source>
        <translation>New tag</translation>
    </message>
    <message>
        <source>新しいタグを追加する</source>
        <translation>Add a new tag</translation>
    </message>
    <message>
        <source>ゴミ箱にあるフォントはリストに表示されません</source>
        <translation>Fonts in the trash are not shown in the lists</translation>
    </message>
    <message>
        <source>お気に入りにあるフォントは強調表示されます</source>
        <translation>Fonts in the favourites are highlighted</translation>
    </message>
    <message>
        <source>%1 — %2 文字なし</source>
        <translation>%1 — %2 missing</translation>
    </message>
    <message>
        <source>タグ「%1」を削除できません: %2 を削除できませんでした。</source>
        <translation>Cannot delete the tag “%1”: %2 could not be deleted.</translation>
    </message>
    <message>
        <source>タグ名を「%1」に変更できません: 同じ名前のタグファイル %2 があります。</source>
        <translation>Cannot rename the tag to “%1”: a tag file of that name, %2, already exists.</translation>
    </message>
    <message>
        <source>タグ名を「%1」に変更できません: %2 の名前を変更できませんでした。</source>
        <translation>Cannot rename the tag to “%1”: %2 could not be renamed.</translation>
    </message>
    <message>
        <source>%1 に書き込めません</source>
        <translation>Cannot write to %1</translation>
    </message>
</context>
<context>
    <name>TGetInternetData</name>
    <message>
        <source>中断(1)</source>
        <translation>Stopped (1)</translation>
    </message>
    <message>
        <source>完了</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>中断(2)</source>
        <translation>Stopped (2)</translation>
    </message>
</context>
<context>
    <name>TGlyphorama</name>
    <message>
        <source>Glyphorama2</source>
        <translation>Glyphorama2</translation>
    </message>
    <message>
        <source>描画モードを切替える</source>
        <translation>Switch the drawing mode</translation>
    </message>
    <message>
        <source>欧文フォントを表示</source>
        <translation>Show Western fonts</translation>
    </message>
    <message>
        <source>日本語フォントを表示</source>
        <translation>Show Japanese fonts</translation>
    </message>
    <message>
        <source>全て表示</source>
        <translation>Show all fonts</translation>
    </message>
    <message>
        <source>&amp;TEXT:</source>
        <translation>&amp;TEXT:</translation>
    </message>
    <message>
        <source>サンプルテキスト</source>
        <translation>Sample text</translation>
    </message>
    <message>
        <source>サンプルビューの再構築中...</source>
        <translation>Rebuilding the sample view...</translation>
    </message>
    <message>
        <source>Tag</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>お気に入り</source>
        <translation>Favourites</translation>
    </message>
    <message>
        <source>ゴミ箱</source>
        <translation>Trash</translation>
    </message>
    <message>
        <source>400 fonts</source>
        <translation>400 fonts</translation>
    </message>
    <message>
        <source>日本語フォント</source>
        <translation>Japanese fonts</translation>
    </message>
    <message>
        <source>候補タグ</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>設定(&amp;O)</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>ソフトウェアの説明(&amp;S)</source>
        <translation>&amp;Software description</translation>
    </message>
    <message>
        <source>更新箇所と修正箇所(&amp;U)</source>
        <translation>&amp;Updates and fixes</translation>
    </message>
    <message>
        <source>ホームページ(&amp;O)</source>
        <translation>H&amp;ome page</translation>
    </message>
    <message>
        <source>作者にメールを送る(＆M)</source>
        <translation>Send mail to the author</translation>
    </message>
    <message>
        <source>情報(&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>削除(&amp;D)</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>名称変更(&amp;R)</source>
        <translation>&amp;Rename</translation>
    </message>
    <message>
        <source>フォント名をコピー(&amp;C)</source>
        <translation>&amp;Copy font name</translation>
    </message>
    <message>
        <source>サンプルテキストを適用</source>
        <translation>Apply the sample text</translation>
    </message>
    <message>
        <source>サンプルテキストを消去</source>
        <translation>Clear the sample text</translation>
    </message>
    <message>
        <source>最新バージョンの問い合わせ中です。<byte value="xd"/>
正常にネットワークが閉じられるまでしばらくお待ちください。</source>
        <translation>Checking for the latest version.<byte value="xd"/>
Please wait a moment until the network connection has closed properly.</translation>
    </message>
    <message>
        <source>新しいバージョンが公開されています。<byte value="xd"/>
公式ページをご確認下さい。<byte value="xd"/>
</source>
        <translation>A new version has been released.<byte value="xd"/>
Please see the official page.<byte value="xd"/>
</translation>
    </message>
</context>
<context>
    <name>TNewTagForm</name>
    <message>
        <source>新しいタグ</source>
        <translation>New tag</translation>
    </message>
    <message>
        <source>新しいタグの名称を入力して下さい。</source>
        <translation>Enter the name of the new tag.</translation>
    </message>
    <message>
        <source>登録</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>この名称は使用できません。</source>
        <translation>This name cannot be used.</translation>
    </message>
    <message>
        <source>同じ名前のタグは登録できません。</source>
        <translation>A tag with the same name already exists.</translation>
    </message>
    <message>
        <source>同じ名前のタグファイルがあるため、この名前には変更できません。</source>
        <translation>A tag file of this name already exists; the tag cannot take this name.</translation>
    </message>
    <message>
        <source>この名称は「%1」タグの名前のため使用できません。</source>
        <translation>This name belongs to the built-in tag “%1” and cannot be used.</translation>
    </message>
</context>
<context>
    <name>TagCaption</name>
    <message>
        <source>ゴミ箱</source>
        <translation>Trash</translation>
    </message>
    <message>
        <source>お気に入り</source>
        <translation>Favourites</translation>
    </message>
</context>
<context>
    <name>TagToolBar</name>
    <message>
        <source>前のタグ</source>
        <translation>Previous tags</translation>
    </message>
    <message>
        <source>次のタグ</source>
        <translation>Next tags</translation>
    </message>
</context>
<context>
    <name>TileCommands</name>
    <message>
        <source>タグに追加(&amp;G)</source>
        <translation>Add to ta&amp;g</translation>
    </message>
    <message>
        <source>ゴミ箱へ(&amp;T)</source>
        <translation>Move to &amp;trash</translation>
    </message>
    <message>
        <source>ゴミ箱から戻す(&amp;R)</source>
        <translation>&amp;Restore from trash</translation>
    </message>
    <message>
        <source>「%1」から外す(&amp;R)</source>
        <translation>&amp;Remove from “%1”</translation>
    </message>
</context>
<context>
    <name>platform</name>
    <message>
        <source>&apos;&apos;%1&apos;&apos; は整数ではありません</source>
        <translation>&apos;&apos;%1&apos;&apos; is not a valid integer value</translation>
    </message>
</context>
<context>
    <name>platform::FileRefusal</name>
    <message>
        <source>%1 は通常のファイルではないため、読み込みません</source>
        <translation>%1 is not a regular file and is not read</translation>
    </message>
    <message>
        <source>%1 は %2 を超えるため、読み込みません</source>
        <translation>%1 is larger than %2 and is not read</translation>
    </message>
    <message>
        <source>%1 を読み込めません</source>
        <translation>Cannot read %1</translation>
    </message>
    <message>
        <source>%1 に書き込めません</source>
        <translation>Cannot write to %1</translation>
    </message>
</context>
<context>
    <name>platform::IniFile</name>
    <message>
        <source>%1 に書き込めません</source>
        <translation>Cannot write %1</translation>
    </message>
    <message>
        <source>%1 に書き込めません: %2</source>
        <translation>Cannot write to %1: %2</translation>
    </message>
</context>
<context>
    <name>platform::TextFileList</name>
    <message>
        <source>%1 に書き込めません: 読み込んだファイルに文字として読めないバイトがあるため、書き換えません</source>
        <translation>Cannot write %1: the file as read holds bytes that are not characters, so it is not rewritten</translation>
    </message>
    <message>
        <source>%1 に書き込めません: 改行を含む行があります</source>
        <translation>Cannot write %1: a line contains a line break</translation>
    </message>
    <message>
        <source>%1 に書き込めません</source>
        <translation>Cannot write %1</translation>
    </message>
    <message>
        <source>%1 に書き込めません: %2</source>
        <translation>Cannot write to %1: %2</translation>
    </message>
</context>
<context>
    <name>platform::TextLines</name>
    <message>
        <source>改行を書けません</source>
        <translation>the line break cannot be written</translation>
    </message>
    <message>
        <source>読み込んだファイルに文字として読めないバイトがあるため、書き換えません</source>
        <translation>the file holds bytes that do not read as characters, so it is not rewritten</translation>
    </message>
    <message>
        <source>ファイルの文字コードで表せない文字があります</source>
        <translation>a character cannot be held by the file&apos;s encoding</translation>
    </message>
</context>
</TS>
