#include "prvdrinfo/db/command.h"

#include <sqlite3.h>

#include <algorithm>
#include <climits>

#include "db/db_internals.h"
#include "foundation/internal/ascii.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kCreate{"B0OLCSANT9XJ3Q1XSNNMI3833", "Command"};
constexpr ErrorSite kParameterIndex{"LIPW3HG6FZYA93W5USQO6S7QE", "Command.ParameterIndex"};
constexpr ErrorSite kSetText{"0MKCVCQD15R182YE41HU3PM42", "Command.SetText"};
constexpr ErrorSite kSetLong{"N8ASHUDJ3YDOFLHPQST0CV0KC", "Command.SetLong"};
constexpr ErrorSite kSetInt64{"RN2SCRA5DMMD8U6MFSB0D6KTF", "Command.SetInt64"};
constexpr ErrorSite kSetBoolean{"QQU2516SO06UQ1KBAMTZN1QL1", "Command.SetBoolean"};
constexpr ErrorSite kSetDouble{"T8EX57T0YNB06MB4CK1XVPE2A", "Command.SetDouble"};
constexpr ErrorSite kSetBytes{"NLQ0FUCSHO6DTX3RXCAJW0EBB", "Command.SetBytes"};
constexpr ErrorSite kSetNull{"KVLG6FUVD4QSKLU737URZ5G2G", "Command.SetNull"};
constexpr ErrorSite kSetValue{"W8SSDH54RSP014GFENY2BN6TX", "Command.SetValue"};
constexpr ErrorSite kBind{"7H4W24E3QHIHNAJAP01BBX39D", "Command.Bind"};
constexpr ErrorSite kExecute{"CWDOA83R4IZ2UCRKNQO2R8CXO", "Command.Execute"};
constexpr ErrorSite kOpenRecordset{"08TEW7K3ZN7G6374ID2Q7UYNI", "Command.OpenRecordset"};

bool IsWordChar(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '$' || c >= 0x80;
}

// Just enough of SQLite's tokenizer to pair columns with the parameters that feed them.
struct Token {
  enum Kind { Identifier, Parameter, Punctuation, Other } kind = Other;
  std::string text;       // identifier unquoted; punctuation its character
  bool quoted = false;    // a quoted identifier is never a keyword
  int32_t parameter = 0;  // position of a parameter
};

std::vector<Token> Tokenize(std::string_view sql, sqlite3_stmt* statement) {
  std::vector<Token> tokens;
  int32_t highest = 0;
  size_t i = 0;
  const size_t n = sql.size();
  auto quotedRun = [&](char close, size_t from) {
    // Returns the unquoted text and moves i past the closing quote; a doubled closing
    // quote stands for one (brackets have no escape).
    std::string text;
    size_t j = from;
    while (j < n) {
      if (sql[j] == close) {
        if (close != ']' && j + 1 < n && sql[j + 1] == close) {
          text += close;
          j += 2;
          continue;
        }
        ++j;
        break;
      }
      text += sql[j++];
    }
    i = j;
    return text;
  };
  while (i < n) {
    const auto c = static_cast<unsigned char>(sql[i]);
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
      ++i;
    } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
      while (i < n && sql[i] != '\n') ++i;
    } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
      const size_t close = sql.find("*/", i + 2);
      i = close == std::string_view::npos ? n : close + 2;
    } else if (c == '\'') {
      quotedRun('\'', i + 1);
      tokens.push_back({Token::Other, {}, false, 0});
    } else if (c == '"' || c == '`' || c == '[') {
      const char close = c == '[' ? ']' : static_cast<char>(c);
      tokens.push_back({Token::Identifier, quotedRun(close, i + 1), true, 0});
    } else if (c == '?') {
      size_t j = i + 1;
      while (j < n && sql[j] >= '0' && sql[j] <= '9') ++j;
      int32_t position = 0;
      if (j > i + 1) {
        // ?NNN names its position; SQLite has already checked the range.
        const std::string digits(sql.substr(i + 1, j - i - 1));
        position = sqlite3_bind_parameter_index(statement, ("?" + digits).c_str());
      } else {
        position = highest + 1;
      }
      highest = std::max(highest, position);
      tokens.push_back({Token::Parameter, {}, false, position});
      i = j;
    } else if ((c == ':' || c == '@' || c == '$') && i + 1 < n &&
               IsWordChar(static_cast<unsigned char>(sql[i + 1]))) {
      size_t j = i + 1;
      while (j < n && IsWordChar(static_cast<unsigned char>(sql[j]))) ++j;
      const std::string name(sql.substr(i, j - i));
      const int32_t position = sqlite3_bind_parameter_index(statement, name.c_str());
      highest = std::max(highest, position);
      tokens.push_back({Token::Parameter, {}, false, position});
      i = j;
    } else if (c >= '0' && c <= '9') {
      while (i < n && (IsWordChar(static_cast<unsigned char>(sql[i])) || sql[i] == '.')) ++i;
      tokens.push_back({Token::Other, {}, false, 0});
    } else if (IsWordChar(c)) {
      size_t j = i;
      while (j < n && IsWordChar(static_cast<unsigned char>(sql[j]))) ++j;
      tokens.push_back({Token::Identifier, std::string(sql.substr(i, j - i)), false, 0});
      i = j;
    } else if (c == '=') {
      i += (i + 1 < n && sql[i + 1] == '=') ? 2u : 1u;
      tokens.push_back({Token::Punctuation, "=", false, 0});
    } else if ((c == '<' || c == '>' || c == '!') && i + 1 < n &&
               (sql[i + 1] == '=' || sql[i + 1] == '>')) {
      i += 2;
      tokens.push_back({Token::Other, {}, false, 0});
    } else if (c == '(' || c == ')' || c == ',' || c == '.') {
      tokens.push_back({Token::Punctuation, std::string(1, static_cast<char>(c)), false, 0});
      ++i;
    } else {
      tokens.push_back({Token::Other, {}, false, 0});
      ++i;
    }
  }
  return tokens;
}

bool IsPunctuation(const Token& token, char c) {
  return token.kind == Token::Punctuation && token.text.size() == 1 && token.text[0] == c;
}

std::vector<std::pair<std::string, int32_t>> PairColumnsWithParameters(
    const std::vector<Token>& tokens) {
  std::vector<std::pair<std::string, int32_t>> pairs;
  // INSERT ... (c1, c2) VALUES (?, ?): the n-th column takes the n-th value.
  for (size_t v = 0; v < tokens.size(); ++v) {
    const Token& word = tokens[v];
    if (word.kind != Token::Identifier || word.quoted ||
        !ascii::EqualsIgnoreCase(word.text, "values"))
      continue;
    if (v == 0 || !IsPunctuation(tokens[v - 1], ')')) break;
    size_t open = v - 1;
    while (open > 0 && !IsPunctuation(tokens[open], '(')) --open;
    std::vector<std::string> columns;
    for (size_t k = open + 1; k < v - 1; ++k) {
      if (tokens[k].kind == Token::Identifier)
        columns.push_back(tokens[k].text);
      else if (!IsPunctuation(tokens[k], ',')) {
        columns.clear();  // not a plain column list
        break;
      }
    }
    if (v + 1 >= tokens.size() || !IsPunctuation(tokens[v + 1], '(')) break;
    size_t column = 0;
    size_t k = v + 2;
    while (k < tokens.size() && column < columns.size()) {
      // One value: a lone parameter pairs; anything longer is skipped to its comma.
      const size_t first = k;
      int depth = 0;
      while (k < tokens.size()) {
        if (IsPunctuation(tokens[k], '(')) ++depth;
        if (IsPunctuation(tokens[k], ')')) {
          if (depth == 0) break;
          --depth;
        }
        if (depth == 0 && IsPunctuation(tokens[k], ',')) break;
        ++k;
      }
      if (k == first + 1 && tokens[first].kind == Token::Parameter) {
        pairs.emplace_back(columns[column], tokens[first].parameter);
      }
      ++column;
      if (k >= tokens.size() || IsPunctuation(tokens[k], ')')) break;
      ++k;  // past the comma
    }
    break;
  }
  // column = ? anywhere (SET lists, WHERE conditions).
  for (size_t k = 0; k + 2 < tokens.size(); ++k) {
    if (tokens[k].kind == Token::Identifier && IsPunctuation(tokens[k + 1], '=') &&
        tokens[k + 2].kind == Token::Parameter) {
      pairs.emplace_back(tokens[k].text, tokens[k + 2].parameter);
    }
  }
  std::stable_sort(pairs.begin(), pairs.end(),
                   [](const auto& a, const auto& b) { return a.second < b.second; });
  return pairs;
}

// Resets the statement when a run ends, however it ends, so the next run starts afresh.
struct ResetOnExit {
  sqlite3_stmt* statement;
  ~ResetOnExit() { sqlite3_reset(statement); }
};
}  // namespace

std::shared_ptr<Command> DbInternals::NewCommand(std::shared_ptr<Connection> connection,
                                                 StatementPtr statement, std::string sql) {
  return kCreate.Guard([&] {
    auto impl = std::make_unique<Command::Impl>();
    impl->columnParameters = PairColumnsWithParameters(Tokenize(sql, statement.get()));
    impl->connection = std::move(connection);
    impl->sql = std::move(sql);
    impl->statement = statement.release();
    return std::shared_ptr<Command>(new Command(std::move(impl)));
  });
}

Command::Command(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

Command::~Command() = default;

const std::string& Command::Sql() const { return impl_->sql; }

int32_t Command::ParameterCount() const { return sqlite3_bind_parameter_count(impl_->statement); }

int32_t Command::ParameterIndex(std::string_view columnName) const {
  return kParameterIndex.Guard(
      [&] {
        for (const auto& [name, position] : impl_->columnParameters) {
          if (ascii::EqualsIgnoreCase(name, columnName)) return position;
        }
        kParameterIndex.Raise(err::kInvalidProcedureCall,
                              "No parameter gives that column its value.");
      },
      [&] { return "Column: " + std::string(columnName.substr(0, 200)); });
}

void Command::Impl::CheckPosition(int32_t position) const {
  if (position < 1 || position > sqlite3_bind_parameter_count(statement))
    kBind.Raise(err::kSubscriptOutOfRange);
}

void Command::Impl::CheckBind(int resultCode) const {
  if (resultCode != SQLITE_OK) DbInternals::Of(*connection).RaiseSqlite(kBind, resultCode, sql);
}

void Command::SetText(int32_t position, std::string_view value) {
  kSetText.Guard([&] {
    impl_->CheckPosition(position);
    // A null pointer would bind NULL, so empty text points at a real "".
    const char* data = value.empty() ? "" : value.data();
    impl_->CheckBind(sqlite3_bind_text64(impl_->statement, position, data, value.size(),
                                         SQLITE_TRANSIENT, SQLITE_UTF8));
  });
}

void Command::SetLong(int32_t position, int32_t value) {
  kSetLong.Guard([&] {
    impl_->CheckPosition(position);
    impl_->CheckBind(sqlite3_bind_int(impl_->statement, position, value));
  });
}

void Command::SetInt64(int32_t position, int64_t value) {
  kSetInt64.Guard([&] {
    impl_->CheckPosition(position);
    impl_->CheckBind(sqlite3_bind_int64(impl_->statement, position, value));
  });
}

void Command::SetBoolean(int32_t position, bool value) {
  kSetBoolean.Guard([&] {
    impl_->CheckPosition(position);
    impl_->CheckBind(sqlite3_bind_int(impl_->statement, position, value ? 1 : 0));
  });
}

void Command::SetDouble(int32_t position, double value) {
  kSetDouble.Guard([&] {
    impl_->CheckPosition(position);
    impl_->CheckBind(sqlite3_bind_double(impl_->statement, position, value));
  });
}

void Command::SetBytes(int32_t position, const Bytes& value) {
  kSetBytes.Guard([&] {
    impl_->CheckPosition(position);
    // A null pointer would bind NULL; empty bytes stay a zero-length blob.
    if (value.empty()) {
      impl_->CheckBind(sqlite3_bind_zeroblob(impl_->statement, position, 0));
    } else {
      impl_->CheckBind(sqlite3_bind_blob64(impl_->statement, position, value.data(), value.size(),
                                           SQLITE_TRANSIENT));
    }
  });
}

void Command::SetNull(int32_t position) {
  kSetNull.Guard([&] {
    impl_->CheckPosition(position);
    impl_->CheckBind(sqlite3_bind_null(impl_->statement, position));
  });
}

void Command::SetValue(int32_t position, const Variant& value) {
  kSetValue.Guard([&] {
    switch (value.Type()) {
      case VariantType::Empty:
      case VariantType::Null: SetNull(position); break;
      case VariantType::Integer: SetLong(position, value.AsInteger()); break;
      case VariantType::Long: SetLong(position, value.AsLong()); break;
      case VariantType::Boolean: SetBoolean(position, value.AsBoolean()); break;
      case VariantType::Double: SetDouble(position, value.AsDouble()); break;
      case VariantType::Date: SetDouble(position, value.AsDate()); break;
      case VariantType::Currency: SetDouble(position, value.AsCurrency().ToDouble()); break;
      case VariantType::Text: SetText(position, value.AsText()); break;
      case VariantType::ByteArray: SetBytes(position, value.AsBytes()); break;
      case VariantType::Single:  // a column type only; no value carries it
      case VariantType::Object: kSetValue.Raise(err::kTypeMismatch);
    }
  });
}

void Command::ClearBindings() { sqlite3_clear_bindings(impl_->statement); }

void Command::Execute() {
  kExecute.Guard([&] {
    ResetOnExit reset{impl_->statement};
    while (DbInternals::Of(*impl_->connection).Step(impl_->statement, kExecute, impl_->sql)) {
    }
  });
}

std::shared_ptr<Recordset> Command::OpenRecordset() {
  return kOpenRecordset.Guard([&] {
    ResetOnExit reset{impl_->statement};
    return DbInternals::ReadRecordset(*impl_->connection, impl_->statement, kOpenRecordset,
                                      impl_->sql);
  });
}

}  // namespace prvdrinfo
