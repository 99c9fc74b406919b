#include "platform/error_reason.h"

#include <cerrno>
#include <string_view>

namespace platform {
namespace {

struct Reason {
  int error;
  std::string_view text;
};

// Every reason the program gives; the errors that mean the same to a user
// share a sentence.
constexpr Reason kReasons[] = {
    {ENOSPC, "ディスクの空き領域が足りません。"},
    {EDQUOT, "ディスクの使用量の上限に達しました。"},
    {EFBIG, "ファイルが大きすぎて書き込めません。"},
    {EROFS, "読み取り専用のドライブです。"},
    {EIO, "入出力エラーが発生しました。"},
    {ENODEV, "ドライブが見つかりません。取り外された可能性があります。"},
    {ENXIO, "ドライブが見つかりません。取り外された可能性があります。"},
    {ENOTCONN, "ドライブとの接続が切れました。"},
    {ESTALE, "ドライブとの接続が切れました。"},
    {EACCES, "アクセスが拒否されました。"},
    {EPERM, "この操作は許可されていません。"},
    {ENAMETOOLONG, "名前が長すぎます。"},
    {ENOENT, "ファイルまたはフォルダが見つかりません。"},
    {ENOTDIR, "フォルダではありません。"},
    {EISDIR, "フォルダです。"},
    {EEXIST, "同じ名前のファイルまたはフォルダがすでにあります。"},
    {ENOTEMPTY, "フォルダが空ではありません。"},
    {EBUSY, "使用中です。"},
    {ETXTBSY, "使用中です。"},
    {ELOOP, "シンボリックリンクが多すぎます。"},
    {EMFILE, "開いているファイルが多すぎます。"},
    {ENFILE, "開いているファイルが多すぎます。"},
    {ENOMEM, "メモリが足りません。"},
    {ENOSYS, "このドライブではできない操作です。"},
    {EOPNOTSUPP, "このドライブではできない操作です。"},
    {EINVAL, "このドライブでは使えない名前か操作です。"},
    {EILSEQ, "このドライブでは使えない文字を含む名前です。"},
    {EINTR, "中断されました。"},
    {EAGAIN, "一時的に使えません。"},
    {ETIMEDOUT, "応答がありません。"},
};

}  // namespace

std::string ErrorReason(int error) {
  for (const Reason& reason : kReasons)
    if (reason.error == error) return std::string(reason.text);
  return "予期しないエラーが発生しました（エラー番号 " + std::to_string(error) + "）。";
}

bool DriveIsGone(int error) {
  return error == ENODEV || error == ENXIO || error == ENOTCONN || error == ESTALE;
}

bool DriveIsLost(int error) {
  return DriveIsGone(error) || error == ENOSPC || error == EDQUOT || error == EROFS || error == EIO;
}

}  // namespace platform
