<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
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
</TS>
