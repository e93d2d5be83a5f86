<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
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
</TS>
