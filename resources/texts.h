// Every text the user sees, in one place. Compiled with -fexec-charset=CP932, so each literal
// is code-page 932 bytes at run time.
#pragma once

#include "resources/version.h"

namespace texts {

// Titles. The application's carries the version, as the version resource and the package do.
inline constexpr char kApplicationTitle[] = "Kestrune Ver." KESTRUNE_VERSION_STRING;
inline constexpr char kFormCaption[] = "Kestrune Ver.1.00";

// Menu.
inline constexpr char kMenuFile[] = "ファイル(&F)";
inline constexpr char kMenuSearchFolder[] = "検索フォルダ指定(&F)...";
inline constexpr char kMenuKestrune[] = "ファイル名の小文字化・開始(&S)...";
inline constexpr char kMenuExit[] = "終了(&X)";

// Grid header row.
inline constexpr char kHeaderName[] = "ファイル名";
inline constexpr char kHeaderBytes[] = "Bytes";
inline constexpr char kHeaderType[] = "種類";
inline constexpr char kHeaderModified[] = "更新日時";
inline constexpr char kHeaderAttributes[] = "属性";

// Message dialogs.
inline constexpr char kCaptionInformation[] = "情報";
inline constexpr char kCaptionError[] = "エラー";
inline constexpr char kCaptionConfirmation[] = "確認";
inline constexpr char kButtonOk[] = "OK";
inline constexpr char kButtonYes[] = "はい(&Y)";
inline constexpr char kButtonNo[] = "いいえ(&N)";

// Folder choice and scan.
inline constexpr char kOpenDialogTitle[] = "検索フォルダ指定";
inline constexpr char kOpenDialogPresetName[] = "\x81\x40";  // one ideographic space
inline constexpr char kChooseSearchFolder[] = "検索フォルダを指定して下さい。";
inline constexpr char kNoFolderTree[] = "フォルダツリーが表示されていません。";
inline constexpr char kDriveNotReady[] = "検索フォルダのディスクドライブの準備が出来ていません。";
inline constexpr char kScanning[] = "フォルダ検索中です。（ESC:中断）";
inline constexpr char kScanAborted[] = "フォルダ検索を中断しました。";

// Listing: "フォルダ「<folder>」を検索中(ESC:中断)", "<n> Files  パス名「<folder>」".
inline constexpr char kListingPrefix[] = "フォルダ「";
inline constexpr char kListingSuffix[] = "」を検索中(ESC:中断)";
inline constexpr char kListCountSuffix[] = " Files  パス名「";
inline constexpr char kListCountEnd[] = "」";
inline constexpr char kListAborted[] = "検索を中断しました。";
// The grid could grow no more (a folder of millions of entries in a 32-bit process).
inline constexpr char kListOutOfMemory[] = "メモリが不足したため、検索を中断しました。";
inline constexpr char kFolderSize[] = "<Folder>";
inline constexpr char kAttrArchive[] = "A ";
inline constexpr char kAttrReadOnly[] = "R ";
inline constexpr char kAttrDirectory[] = "D ";

// Lower-casing run.
inline constexpr char kConfirmRun[] =
    "このフォルダツリー内にあるファイルの名前を小文字にします（２バイト系文字を除く）。よろしいです"
    "か？";
inline constexpr char kRunPrefix[] = "小文字化・処理中です。「";
inline constexpr char kRunSuffix[] = "」（ESC:中断）";
inline constexpr char kRunCompleted[] = "小文字化処理を完了しました。";
inline constexpr char kRunAborted[] = "小文字化処理を中断しました。";
inline constexpr char kRunOutOfMemory[] = "メモリが不足したため、小文字化処理を中断しました。";
inline constexpr char kRunFailuresPrefix[] = "（名前を変更できなかった項目：";
inline constexpr char kRunFailuresSuffix[] = "件）";
// Undo of the last run (Ctrl+Z):
// "「<search folder>」で直前の小文字化処理が変更した名前（<n>件）を元に戻します。よろしいですか？",
// then "元に戻す処理中です。「<folder>」（ESC:中断）" per folder.
inline constexpr char kConfirmUndoPrefix[] = "「";
inline constexpr char kConfirmUndoMiddle[] = "」で直前の小文字化処理が変更した名前（";
inline constexpr char kConfirmUndoSuffix[] = "件）を元に戻します。よろしいですか？";
inline constexpr char kNothingToUndo[] = "元に戻せる小文字化処理がありません。";
inline constexpr char kUndoPrefix[] = "元に戻す処理中です。「";
inline constexpr char kUndoCompleted[] = "元に戻す処理を完了しました。";
inline constexpr char kUndoAborted[] = "元に戻す処理を中断しました。";
inline constexpr char kUndoOutOfMemory[] = "メモリが不足したため、元に戻す処理を中断しました。";
// At start-up, when a run that died left entries recovery could not move:
// "前回の小文字化処理で名前を戻せなかった項目があります（<n>件）。詳しくは「<journal>」をご覧下さい。"
inline constexpr char kUnrecoveredPrefix[] =
    "前回の小文字化処理で名前を戻せなかった項目があります（";
inline constexpr char kUnrecoveredMiddle[] = "件）。詳しくは「";
inline constexpr char kUnrecoveredSuffix[] = "」をご覧下さい。";
// The journal (every text names its path):
// "別のKestruneが記録ファイル「<journal>」を使用中です。その処理が終わってから、もう一度実行して下さい。"
inline constexpr char kJournalInUsePrefix[] = "別のKestruneが記録ファイル「";
inline constexpr char kJournalInUseSuffix[] =
    "」を使用中です。その処理が終わってから、もう一度実行して下さい。";
// "記録ファイル「<journal>」に書き込めないため、この小文字化処理は元に戻せません。よろしいですか？"
inline constexpr char kJournalPrefix[] = "記録ファイル「";
inline constexpr char kJournalUnwritableSuffix[] =
    "」に書き込めないため、この小文字化処理は元に戻せません。よろしいですか？";
// An undo is not made without its journal:
// "記録ファイル「<journal>」に書き込めないため、元に戻す処理を行えません。"
inline constexpr char kJournalUnwritableUndoSuffix[] =
    "」に書き込めないため、元に戻す処理を行えません。";
// "記録ファイル「<journal>」に書き込めなくなったため、処理を中断しました。"
inline constexpr char kJournalLostSuffix[] = "」に書き込めなくなったため、処理を中断しました。";
// "記録ファイル「<journal>」を読めなかったため、「<new path>」に移しました。"
inline constexpr char kJournalSetAsideMiddle[] = "」を読めなかったため、「";
inline constexpr char kJournalSetAsideSuffix[] = "」に移しました。";

// Exit.
inline constexpr char kConfirmExit[] = "終了します。よろしいですか？";

// The error box's text for memory that ran out anywhere else (the box appends the period).
inline constexpr char kOutOfMemory[] = "メモリが不足しています";

// Settings: the conversion error of a stored value that is not an integer ("%s" is the value).
inline constexpr char kNotAnInteger[] = "'%s' は整数ではありません";

}  // namespace texts
