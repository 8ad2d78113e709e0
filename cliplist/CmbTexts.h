// Failure texts of the clip list that more than one file of it reports.
#pragma once

inline constexpr char kCmbDeleteFailed[] = "コンボボックスの選択項目削除に失敗しました！！";
inline constexpr char kCmbAddFailed[] = "コンボボックスへの項目追加に失敗しました！！";
inline constexpr char kCmbSelectFailed[] = "コンボボックス項目の表示に失敗しました！！";
inline constexpr char kCmbNoLength[] = "コンボボックス項目文字列バイト数の取得に失敗しました！！";
inline constexpr char kCmbNoText[] = "コンボボックス項目文字列の取得に失敗しました！！";
