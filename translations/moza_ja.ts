<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>FailureText</name>
    <message>
        <source>The page was not made: it was cancelled.</source>
        <translation>ページの作成は取り消されました。</translation>
    </message>
    <message>
        <source>“%1” does not exist.</source>
        <translation>「%1」が見つかりません。</translation>
    </message>
    <message>
        <source>“%1” is not a folder.</source>
        <translation>「%1」はフォルダーではありません。</translation>
    </message>
    <message>
        <source>“%1” is a folder.</source>
        <translation>「%1」はフォルダーです。</translation>
    </message>
    <message>
        <source>“%1” is not a regular file (it is a device, a pipe or the like).</source>
        <translation>「%1」は通常のファイルではありません (デバイスやパイプなどです)。</translation>
    </message>
    <message>
        <source>You have no permission to use “%1”.</source>
        <translation>「%1」を使う権限がありません。</translation>
    </message>
    <message>
        <source>“%1” is read-only.</source>
        <translation>「%1」は読み取り専用です。</translation>
    </message>
    <message>
        <source>“%1” is empty (0 bytes).</source>
        <translation>「%1」は空のファイルです (0 バイト)。</translation>
    </message>
    <message>
        <source>“%1” is too large: files over %2 MB are not read.</source>
        <translation>「%1」は大きすぎます。%2 MB を超えるファイルは読み込みません。</translation>
    </message>
    <message>
        <source>There is no room left on the disk for “%1”.</source>
        <translation>ディスクに空きがないため、「%1」を書き込めません。</translation>
    </message>
    <message>
        <source>The name “%1” is longer than the file system allows.</source>
        <translation>「%1」は名前が長すぎます。ファイルシステムが許す長さを超えています。</translation>
    </message>
    <message>
        <source>“%1” could not be read or written. The system says: %2</source>
        <translation>「%1」を読み書きできませんでした。システムからのメッセージ: %2</translation>
    </message>
    <message>
        <source>the picture</source>
        <translation>画像</translation>
    </message>
    <message>
        <source>“%1” is not a picture in a format Moza can read (BMP, JPEG, PNG, GIF, WebP, TIFF and others).</source>
        <translation>「%1」は Moza が読める形式の画像ではありません (読める形式: BMP、JPEG、PNG、GIF、WebP、TIFF など)。</translation>
    </message>
    <message>
        <source>“%1” is damaged or cut short.</source>
        <translation>「%1」は壊れているか、途中で切れています。</translation>
    </message>
    <message>
        <source>The picture in “%1” could not be decoded.</source>
        <translation>「%1」の画像データを読み取れませんでした。</translation>
    </message>
    <message>
        <source>The picture is %1 pixels high; Moza converts pictures up to %2 pixels high.</source>
        <translation>画像の高さが %1 ピクセルあります。Moza が変換できるのは高さ %2 ピクセルまでの画像です。</translation>
    </message>
    <message>
        <source>The picture (%1 x %2 pixels) is too large: decoding it would take more than %3 MB of memory.</source>
        <translation>画像が大きすぎます (%1 x %2 ピクセル)。読み込むには %3 MB を超えるメモリーが必要です。</translation>
    </message>
    <message>
        <source>There is not enough memory for a picture of %1 x %2 pixels.</source>
        <translation>%1 x %2 ピクセルの画像を扱うためのメモリーが足りません。</translation>
    </message>
    <message>
        <source>The picture has no valid size.</source>
        <translation>画像の大きさが正しくありません。</translation>
    </message>
    <message>
        <source>The title is not valid text (byte %1).</source>
        <translation>タイトルが正しい文字列ではありません (%1 バイト目)。</translation>
    </message>
    <message>
        <source>The title&apos;s character %1 cannot be written in Shift_JIS (code page 932), in which pages are written.</source>
        <translation>タイトルの文字%1はシフト JIS (コードページ 932) で書けません。ページはシフト JIS で書かれるため、この文字は使えません。</translation>
    </message>
    <message>
        <source>The title holds %1. The title names the page&apos;s file, and a file name cannot hold \ / : * ? &quot; &lt; &gt; | or control characters.</source>
        <translation>タイトルに%1が含まれています。タイトルはページのファイル名にもなるため、\ / : * ? &quot; &lt; &gt; | と制御文字は使えません。</translation>
    </message>
    <message>
        <source>The title holds a line break, and a page is written on a single line.</source>
        <translation>タイトルに改行が含まれています。ページは 1 行で書かれるため、改行は使えません。</translation>
    </message>
    <message>
        <source>The title holds %1. The title goes into the page as it is, where a browser would read it as the start or end of markup, not as text.</source>
        <translation>タイトルに%1が含まれています。タイトルはそのままページに書かれ、ブラウザーが文字ではなくタグの始まりや終わりとして読むため使えません。</translation>
    </message>
    <message>
        <source>This system cannot convert text to Shift_JIS (code page 932), in which pages are written.</source>
        <translation>このシステムでは文字をシフト JIS (コードページ 932) に変換できません。ページはシフト JIS で書かれるため、ページを作れません。</translation>
    </message>
    <message>
        <source>The character table holds no characters, so there is nothing to draw the picture with.</source>
        <translation>文字表に文字が 1 つもないため、画像を描けません。</translation>
    </message>
    <message>
        <source>In “%1”, record %2 (line %3) is cut short: it has %4 of its 10 values.</source>
        <translation>「%1」の %2 件目のレコード (%3 行目) が途中で終わっています。値が 10 個のうち %4 個しかありません。</translation>
    </message>
    <message>
        <source>In “%1”, value %4 of record %2 (line %3) has a double quote that is never closed.</source>
        <translation>「%1」の %2 件目のレコード (%3 行目) の %4 番目の値で、二重引用符 (&quot;) が閉じられていません。</translation>
    </message>
    <message>
        <source>In “%1”, value %4 of record %2 (line %3), “%5”, is not a whole number.</source>
        <translation>「%1」の %2 件目のレコード (%3 行目) の %4 番目の値「%5」は整数ではありません。</translation>
    </message>
    <message>
        <source>In “%1”, value %4 of record %2 (line %3), “%5”, is outside the range %6 to %7.</source>
        <translation>「%1」の %2 件目のレコード (%3 行目) の %4 番目の値「%5」は %6 ～ %7 の範囲を超えています。</translation>
    </message>
    <message>
        <source>“%1” holds more than %2 records (record %3 ends on line %4).</source>
        <translation>「%1」のレコードが %2 件を超えています (%3 件目のレコードは %4 行目で終わります)。</translation>
    </message>
    <message>
        <source>In “%1”, record %2 (line %3) has too many values: %4 more follow its 10, too few for another record.</source>
        <translation>「%1」の %2 件目のレコード (%3 行目) の値が多すぎます。10 個の値のあとに %4 個ありますが、次のレコードには足りません。</translation>
    </message>
    <message>
        <source>In “%1”, the character code %4 of record %2 (line %3) is not one character of Shift_JIS (code page 932), so a page cannot show it.</source>
        <translation>「%1」の %2 件目のレコード (%3 行目) の文字コード %4 は、シフト JIS (コードページ 932) の 1 文字ではないため、ページに表示できません。</translation>
    </message>
    <message>
        <source>a control character (%1)</source>
        <translation>制御文字 (%1)</translation>
    </message>
    <message>
        <source>“%1” (%2)</source>
        <translation>「%1」(%2)</translation>
    </message>
    <message>
        <source>The reason is not known.</source>
        <translation>原因はわかりません。</translation>
    </message>
    <message>
        <source>The folder “%1” does not exist, so “%2” cannot be written.</source>
        <translation>フォルダー「%1」がないため、「%2」を書き込めません。</translation>
    </message>
    <message>
        <source>“%1” exists already.</source>
        <translation>「%1」はすでにあります。</translation>
    </message>
    <message>
        <source>Writing over “%1” stopped halfway, and the file is now incomplete. The system says: %2</source>
        <translation>「%1」の上書きが途中で止まり、ファイルは不完全なままです。システムからのメッセージ: %2</translation>
    </message>
    <message>
        <source>The folder “%1” could not be made. The system says: %2</source>
        <translation>フォルダー「%1」を作れませんでした。システムからのメッセージ: %2</translation>
    </message>
    <message>
        <source>There is no folder to put pages in: the environment variable %1 is not set.</source>
        <translation>ページを置くフォルダーが決まりません。環境変数 %1 が設定されていません。</translation>
    </message>
    <message>
        <source>The title&apos;s character %1 cannot be written in Shift_JIS (code page 932), in which pages are written. Use %2 instead.</source>
        <translation>タイトルの文字%1はシフト JIS (コードページ 932) で書けません。代わりに%2を使ってください。</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Width of the picture in pixels (1 to %1).
The whole page within %2 pixels: %3 x %4. The size a browser shows: %5 x %6.</source>
        <translation>画像の幅 (ピクセル、1 から %1)。
ページ全体を %2 ピクセル以内に: %3 x %4。ブラウザで表示される大きさ: %5 x %6。</translation>
    </message>
</context>
<context>
    <name>moza::ui::ArtWindow</name>
    <message numerus="yes">
        <source>%Ln page(s), %1</source>
        <translation>
            <numerusform>%Ln ページ、%1</numerusform>
        </translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>全画面表示</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>%1 - Moza</source>
        <translation>%1 - Moza</translation>
    </message>
    <message>
        <source>%1 x %2 characters</source>
        <translation>%1 x %2 文字</translation>
    </message>
    <message>
        <source>Pages folder: %1</source>
        <translation>作成したページのフォルダー: %1</translation>
    </message>
</context>
<context>
    <name>moza::ui::BrowserView</name>
    <message>
        <source>it crashed (exit code %1); a very large page can use up the memory</source>
        <translation>異常終了しました (終了コード %1)。非常に大きなページはメモリーを使い切ることがあります</translation>
    </message>
    <message>
        <source>it was stopped by the system, often for lack of memory</source>
        <translation>システムに停止されました。多くはメモリー不足のためです</translation>
    </message>
    <message>
        <source>it ended unexpectedly (exit code %1)</source>
        <translation>予期せず終了しました (終了コード %1)</translation>
    </message>
    <message>
        <source>The page &apos;%1&apos; cannot be shown: the file does not exist.</source>
        <translation>ページ「%1」は表示できません。ファイルがありません。</translation>
    </message>
    <message>
        <source>The page &apos;%1&apos; is too large to show here; open it in the default browser.</source>
        <translation>ページ「%1」は大きすぎてここには表示できません。既定のブラウザで開いてください。</translation>
    </message>
</context>
<context>
    <name>moza::ui::EngineNotice</name>
    <message>
        <source>Reload</source>
        <translation>再読み込み(&amp;R)</translation>
    </message>
    <message>
        <source>Show as art</source>
        <translation>アートとして表示(&amp;A)</translation>
    </message>
    <message>
        <source>The browser engine stopped showing this page: %1.</source>
        <translation>ブラウザエンジンがこのページの表示を止めました。%1。</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>中止</translation>
    </message>
    <message>
        <source>The browser engine is laying out the page (%1 %)...</source>
        <translation>ブラウザエンジンがページをレイアウトしています (%1 %)...</translation>
    </message>
</context>
<context>
    <name>moza::ui::FrmMain</name>
    <message>
        <source>The picture could not be opened.</source>
        <translation>画像を開けませんでした。</translation>
    </message>
    <message>
        <source>The page could not be made.</source>
        <translation>ページを作成できませんでした。</translation>
    </message>
    <message>
        <source>The page could not be saved.</source>
        <translation>ページを保存できませんでした。</translation>
    </message>
    <message>
        <source>%1 %2 x %3 → %4 x %5 characters</source>
        <translation>%1 %2 x %3 → %4 x %5 文字</translation>
    </message>
    <message>
        <source>Show this page of %L1 characters in the browser engine?</source>
        <translation>このページ (%L1 文字) をブラウザエンジンで表示しますか?</translation>
    </message>
    <message>
        <source>The browser engine lays out every character of the page one by one: for a page this large that may take minutes and several gigabytes of memory, and the engine may give up. The art view shows the same page at once.</source>
        <translation>ブラウザエンジンはページの文字を一つずつ並べます。これほど大きなページでは数分と数 GB のメモリーがかかり、表示をあきらめることもあります。アートビューなら同じページをすぐに表示できます。</translation>
    </message>
    <message>
        <source>The page could not be opened in the default browser.</source>
        <translation>ページを既定のブラウザで開けませんでした。</translation>
    </message>
    <message>
        <source>No default browser was found, or it would not start.</source>
        <translation>既定のブラウザが見つからないか、起動できませんでした。</translation>
    </message>
    <message>
        <source>The picture of the page could not be saved.</source>
        <translation>ページの画像を保存できませんでした。</translation>
    </message>
    <message>
        <source>Drawing the picture of the page...</source>
        <translation>ページの画像を描いています...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>The folder of the made pages could not be opened.</source>
        <translation>作成したページのフォルダーを開けませんでした。</translation>
    </message>
    <message>
        <source>No file manager was found, or it would not start.</source>
        <translation>ファイルマネージャーが見つからないか、起動できませんでした。</translation>
    </message>
</context>
<context>
    <name>moza::ui::Load</name>
    <message>
        <source>Moza cannot start: its title picture could not be loaded.</source>
        <translation>Moza を起動できません。タイトル画像を読み込めませんでした。</translation>
    </message>
    <message>
        <source>Moza cannot start: its character table could not be loaded.</source>
        <translation>Moza を起動できません。文字表を読み込めませんでした。</translation>
    </message>
</context>
<context>
    <name>moza::ui::PageView</name>
    <message>
        <source>Reading the page...</source>
        <translation>ページを読み込んでいます...</translation>
    </message>
    <message>
        <source>it was stopped before the page was laid out</source>
        <translation>ページのレイアウトが終わる前に中止されました</translation>
    </message>
</context>
</TS>
