// The texts the bar's behaviour shows of its own.
#pragma once

namespace core_text {

// Offered after a failed action, below what failed, where no console keeps
// the tools' transcript in view.
inline constexpr char kOfferProblems[] = "エラーと警告の一覧を開きますか？";

}  // namespace core_text
