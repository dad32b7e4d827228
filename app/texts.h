// The program's interface texts, in Shift_JIS.
#pragma once

namespace texts {

// Each text on one line beside its readable form.
// clang-format off
inline constexpr char kTitle[] = "Tolvane";
inline constexpr char kVersion[] = "Tolvane Ver1.09";

// Account table header.
inline constexpr char kHeaderShortName[] = "\x97\xaa\x8f\xcc";  // 略称
inline constexpr char kHeaderServer[] = "POP3\x83T\x81[\x83o";  // POP3サーバ
inline constexpr char kHeaderAccount[] = "\x83" "A\x83J\x83" "E\x83\x93\x83g";  // アカウント
inline constexpr char kHeaderPassword[] = "\x83p\x83X\x83\x8f\x81[\x83h";  // パスワード
inline constexpr char kPasswordMask[] = "****";

// Status line (the main window's caption) and summaries.
inline constexpr char kConnecting[] = "Connecting...";
inline constexpr char kServerError[] = "POP Server Error.";
inline constexpr char kFinished[] = "Finished.";
inline constexpr char kNoMailText[] = "Tolvane - \x83\x81\x81[\x83\x8b\x82\xcd\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1";  // Tolvane - メールはありません
inline constexpr char kMailTextHead[] = "Tolvane - \x83\x81\x81[\x83\x8b\x82\xaa";  // Tolvane - メールが
inline constexpr char kMailTextTail[] = "\x92\xca\x93\xcd\x82\xa2\x82\xc4\x82\xa2\x82\xdc\x82\xb7";  // 通届いています
inline constexpr char kShuttingDown[] = "\x8fI\x97\xb9\x8f\x88\x97\x9d\x92\x86\x82\xc5\x82\xb7...";  // 終了処理中です...

// Main window.
inline constexpr char kFormFont[] = "\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";  // ＭＳ Ｐゴシック
inline constexpr char kBoxCaption[] =
    "10\x95\xaa\x96\x88\x82\xc9\x8f\x9f\x8e\xe8\x82\xc9\x83`\x83" "F\x83" "b\x83N\x82\xb5\x82\xdc\x82\xb7(\x81O-\x81O)/";  // 10分毎に勝手にチェックします(＾-＾)/
inline constexpr char kStowCaption[] = "\x83^\x83X\x83N\x83g\x83\x8c\x83" "C\x82\xc9\x8e\xfb\x94[";  // タスクトレイに収納
inline constexpr char kAgainCaption[] = "\x8d\xc4\x95\x5c\x8e\xa6";  // 再表示
inline constexpr char kCheckCaption[] = "\x8d\xa1\x82\xb7\x82\xae\x83`\x83" "F\x83" "b\x83N";  // 今すぐチェック
inline constexpr char kWebAddress[] = "http://tolvane.example.org";
inline constexpr char kMailAddress[] = "tolvane@example.org";
inline constexpr char kRightsNotice[] = "(C) Tolvane";

// Tray menu.
inline constexpr char kMenuStop[] = "\x88\xea\x8e\x9e\x92\xe2\x8e~";  // 一時停止
inline constexpr char kMenuIcon[] = "\x83" "A\x83" "C\x83R\x83\x93\x8f\xf3\x91\xd4\x82\xc5\x8bN\x93\xae";  // アイコン状態で起動
inline constexpr char kMenuShowForm[] = "\x83t\x83H\x81[\x83\x80\x82\xf0\x95\x5c\x8e\xa6";  // フォームを表示
inline constexpr char kMenuExit[] = "\x8fI\x97\xb9";  // 終了
// clang-format on

}  // namespace texts
