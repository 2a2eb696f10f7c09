<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>RenderViewContextMenuQt</name>
    <message>
        <source>Back</source>
        <translation>戻る</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>進む</translation>
    </message>
    <message>
        <source>Reload</source>
        <translation>再読み込み</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>切り取り</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>コピー</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>貼り付け</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>元に戻す</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>やり直す</translation>
    </message>
    <message>
        <source>Select all</source>
        <translation>すべて選択</translation>
    </message>
    <message>
        <source>Paste and match style</source>
        <translation>貼り付けてスタイルを合わせる</translation>
    </message>
    <message>
        <source>Open link in new window</source>
        <translation>リンクを新しいウィンドウで開く</translation>
    </message>
    <message>
        <source>Open link in new tab</source>
        <translation>リンクを新しいタブで開く</translation>
    </message>
    <message>
        <source>Copy link address</source>
        <translation>リンクのアドレスをコピー</translation>
    </message>
    <message>
        <source>Save link</source>
        <translation>リンク先を保存</translation>
    </message>
    <message>
        <source>Copy image</source>
        <translation>画像をコピー</translation>
    </message>
    <message>
        <source>Copy image address</source>
        <translation>画像のアドレスをコピー</translation>
    </message>
    <message>
        <source>Save image</source>
        <translation>画像を保存</translation>
    </message>
    <message>
        <source>Copy media address</source>
        <translation>メディアのアドレスをコピー</translation>
    </message>
    <message>
        <source>Show controls</source>
        <translation>コントロールを表示</translation>
    </message>
    <message>
        <source>Loop</source>
        <translation>ループ再生</translation>
    </message>
    <message>
        <source>Save media</source>
        <translation>メディアを保存</translation>
    </message>
    <message>
        <source>Inspect</source>
        <translation>検証</translation>
    </message>
    <message>
        <source>Exit full screen</source>
        <translation>全画面表示を終了</translation>
    </message>
    <message>
        <source>Save page</source>
        <translation>ページを保存</translation>
    </message>
    <message>
        <source>View page source</source>
        <translation>ページのソースを表示</translation>
    </message>
</context>
<context>
    <name>QWebEnginePage</name>
    <message>
        <source>Stop</source>
        <translation>中止</translation>
    </message>
    <message>
        <source>Unselect</source>
        <translation>選択を解除</translation>
    </message>
    <message>
        <source>Reload and Bypass Cache</source>
        <translation>キャッシュを使わずに再読み込み</translation>
    </message>
    <message>
        <source>Open link in this window</source>
        <translation>リンクをこのウィンドウで開く</translation>
    </message>
    <message>
        <source>Open link in new background tab</source>
        <translation>リンクを新しいバックグラウンドタブで開く</translation>
    </message>
    <message>
        <source>Toggle Play/Pause</source>
        <translation>再生/一時停止</translation>
    </message>
    <message>
        <source>Toggle Mute</source>
        <translation>ミュートの切り替え</translation>
    </message>
    <message>
        <source>Close Page</source>
        <translation>ページを閉じる</translation>
    </message>
    <message>
        <source>&amp;Bold</source>
        <translation>太字(&amp;B)</translation>
    </message>
    <message>
        <source>&amp;Italic</source>
        <translation>斜体(&amp;I)</translation>
    </message>
    <message>
        <source>&amp;Underline</source>
        <translation>下線(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Strikethrough</source>
        <translation>取り消し線(&amp;S)</translation>
    </message>
    <message>
        <source>Align &amp;Left</source>
        <translation>左揃え(&amp;L)</translation>
    </message>
    <message>
        <source>Align &amp;Center</source>
        <translation>中央揃え(&amp;C)</translation>
    </message>
    <message>
        <source>Align &amp;Right</source>
        <translation>右揃え(&amp;R)</translation>
    </message>
    <message>
        <source>Align &amp;Justified</source>
        <translation>両端揃え(&amp;J)</translation>
    </message>
    <message>
        <source>&amp;Indent</source>
        <translation>インデント(&amp;I)</translation>
    </message>
    <message>
        <source>&amp;Outdent</source>
        <translation>インデント解除(&amp;O)</translation>
    </message>
    <message>
        <source>Insert &amp;Unordered List</source>
        <translation>箇条書きを挿入(&amp;U)</translation>
    </message>
    <message>
        <source>Insert &amp;Ordered List</source>
        <translation>番号付きリストを挿入(&amp;O)</translation>
    </message>
    <message>
        <source>Are you sure you want to leave this page? Changes that you made may not be saved.</source>
        <translation>このページから移動しますか？ 変更内容は保存されないことがあります。</translation>
    </message>
</context>
</TS>
