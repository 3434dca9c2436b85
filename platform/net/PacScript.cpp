#include "platform/net/PacScript.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <algorithm>
#include <cctype>
#include <map>

#include "platform/foundation/TextHelpers.h"

namespace pf {

struct PacScript::Node {
  enum class Kind { Block, If, Return, Or, And, Not, Equal, NotEqual, Text, True, False, Url, Host, Call };
  Kind kind = Kind::Block;
  std::string text;  // a literal's text, a function's name
  std::vector<std::unique_ptr<const Node>> children;
};

namespace {

using Node = PacScript::Node;
using Kind = Node::Kind;

// Functions of the subset and how many arguments each takes.
const std::map<std::string, std::size_t, std::less<>> kFunctions = {
    {"isPlainHostName", 1}, {"dnsDomainIs", 2}, {"localHostOrDomainIs", 2},
    {"shExpMatch", 2},      {"dnsResolve", 1},  {"isResolvable", 1},
    {"isInNet", 3}};

ErrorPtr cannotEvaluate(const std::string& reason) {
  return Error::make(PacScript::kErrorDomain, PacScript::kCannotEvaluate,
                     "The proxy auto-configuration script cannot be evaluated: " + reason);
}

struct Token {
  enum class Type { Name, Text, Punctuation, End };
  Type type = Type::End;
  std::string text;
  std::size_t offset = 0;
  // A line ends before the token: JavaScript then ends a return statement without its ";".
  bool afterLineBreak = false;
};

// Splits the source into tokens; nullopt with a reason for anything outside the subset's lexicon.
class Lexer {
 public:
  explicit Lexer(std::string_view source) : source_(source) {}

  std::optional<std::vector<Token>> tokens(std::string& reason) {
    std::vector<Token> out;
    while (true) {
      std::size_t spaceStart = pos_;
      if (!skipSpaceAndComments()) return fail(reason, "an unterminated comment");
      bool afterLineBreak =
          source_.substr(spaceStart, pos_ - spaceStart).find('\n') != std::string_view::npos;
      if (pos_ == source_.size()) break;
      Token token;
      token.offset = pos_;
      token.afterLineBreak = afterLineBreak;
      char c = source_[pos_];
      if (isNameStart(c)) {
        token.type = Token::Type::Name;
        while (pos_ < source_.size() && isNamePart(source_[pos_])) token.text.push_back(source_[pos_++]);
      } else if (c == '"' || c == '\'') {
        token.type = Token::Type::Text;
        if (!readString(token.text)) return fail(reason, "a string it cannot read");
      } else if (auto punctuation = readPunctuation()) {
        token.type = Token::Type::Punctuation;
        token.text = *punctuation;
      } else {
        return fail(reason, "the character '" + std::string(1, c) + "' at offset " + std::to_string(pos_));
      }
      out.push_back(std::move(token));
    }
    out.push_back(Token{Token::Type::End, "", source_.size()});
    return out;
  }

 private:
  static bool isNameStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '$';
  }
  static bool isNamePart(char c) { return isNameStart(c) || std::isdigit(static_cast<unsigned char>(c)); }

  static std::nullopt_t fail(std::string& reason, const std::string& what) {
    reason = "it holds " + what;
    return std::nullopt;
  }

  bool skipSpaceAndComments() {
    while (pos_ < source_.size()) {
      std::string_view rest = source_.substr(pos_);
      if (std::isspace(static_cast<unsigned char>(rest[0]))) {
        ++pos_;
      } else if (rest.starts_with("//")) {
        std::size_t end = source_.find('\n', pos_);
        pos_ = end == std::string_view::npos ? source_.size() : end;
      } else if (rest.starts_with("/*")) {
        std::size_t end = source_.find("*/", pos_ + 2);
        if (end == std::string_view::npos) return false;
        pos_ = end + 2;
      } else {
        break;
      }
    }
    return true;
  }

  // Simple escapes only; \x and \u escapes are outside the subset.
  bool readString(std::string& out) {
    char quote = source_[pos_++];
    while (pos_ < source_.size()) {
      char c = source_[pos_++];
      if (c == quote) return true;
      if (c == '\n') return false;
      if (c == '\\') {
        if (pos_ == source_.size()) return false;
        c = source_[pos_++];
        if (c == 'x' || c == 'u' || std::isdigit(static_cast<unsigned char>(c))) return false;
        if (c == 'n') c = '\n';
        if (c == 't') c = '\t';
      }
      out.push_back(c);
    }
    return false;
  }

  std::optional<std::string> readPunctuation() {
    for (std::string_view candidate :
         {"===", "!==", "==", "!=", "&&", "||", "(", ")", "{", "}", ",", ";", "!"}) {
      if (source_.substr(pos_).starts_with(candidate)) {
        pos_ += candidate.size();
        return std::string(candidate);
      }
    }
    return std::nullopt;
  }

  std::string_view source_;
  std::size_t pos_ = 0;
};

// Recursive descent over the tokens; every method answers nullptr (with a reason) outside the subset.
class Parser {
 public:
  explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

  std::unique_ptr<const Node> script(std::string& reason) {
    auto body = function();
    if (body && peek().type != Token::Type::End) body = refuse("more than the one function");
    if (!body) reason = reason_;
    return body;
  }

 private:
  const Token& peek() const { return tokens_[pos_]; }
  bool isPunctuation(std::string_view text) const {
    return peek().type == Token::Type::Punctuation && peek().text == text;
  }
  bool isName(std::string_view text) const { return peek().type == Token::Type::Name && peek().text == text; }
  bool accept(std::string_view punctuation) {
    if (!isPunctuation(punctuation)) return false;
    ++pos_;
    return true;
  }

  std::nullptr_t refuse(const std::string& what) {
    if (reason_.empty()) {
      reason_ = "it uses " + what + " (offset " + std::to_string(peek().offset) + ")";
    }
    return nullptr;
  }

  std::unique_ptr<const Node> function() {
    if (!isName("function")) return refuse("something other than a function declaration");
    ++pos_;
    if (!isName("FindProxyForURL")) return refuse("a function other than FindProxyForURL");
    ++pos_;
    if (!accept("(")) return refuse("an unexpected token");
    for (std::string* parameter : {&urlName_, &hostName_}) {
      if (peek().type != Token::Type::Name) return refuse("unexpected parameters");
      *parameter = tokens_[pos_++].text;
      if (parameter == &urlName_ && !accept(",")) return refuse("unexpected parameters");
    }
    if (!accept(")")) return refuse("unexpected parameters");
    return block();
  }

  // Counts nesting on the way down so hostile scripts cannot exhaust the stack.
  struct Depth {
    explicit Depth(int& depth) : depth_(depth) { ++depth_; }
    ~Depth() { --depth_; }
    int& depth_;
  };

  std::unique_ptr<const Node> block() {
    Depth depth(depth_);
    if (depth_ > PacScript::kMaxNesting) return refuse("too deep a nesting");
    if (!accept("{")) return refuse("a statement where a block belongs");
    auto node = std::make_unique<Node>();
    node->kind = Kind::Block;
    while (!accept("}")) {
      if (peek().type == Token::Type::End) return refuse("an unclosed block");
      auto child = statement();
      if (!child) return nullptr;
      node->children.push_back(std::move(child));
    }
    return node;
  }

  std::unique_ptr<const Node> statement() {
    Depth depth(depth_);
    if (depth_ > PacScript::kMaxNesting) return refuse("too deep a nesting");
    if (isPunctuation("{")) return block();
    if (accept(";")) return std::make_unique<Node>();  // an empty block
    auto node = std::make_unique<Node>();
    if (isName("if")) return conditional();
    if (isName("return")) {
      ++pos_;
      node->kind = Kind::Return;
      if (!push(node, expression())) return nullptr;
      if (!accept(";") && !isPunctuation("}") && !peek().afterLineBreak) {
        return refuse("an unexpected token after return");
      }
      return node;
    }
    return refuse("an unsupported statement '" + peek().text + "'");
  }

  // An if with its else-if chain as one flat node: condition, statement, condition, statement, ... and
  // the final else statement, so long chains cost no nesting.
  std::unique_ptr<const Node> conditional() {
    auto node = std::make_unique<Node>();
    node->kind = Kind::If;
    do {
      ++pos_;  // "if"
      if (!accept("(")) return refuse("an if without a condition");
      if (!push(node, expression()) || !accept(")")) return refuse("an unexpected token in a condition");
      if (!push(node, statement())) return nullptr;
      if (!isName("else")) return node;
      ++pos_;
    } while (isName("if"));
    if (!push(node, statement())) return nullptr;
    return node;
  }

  static bool push(std::unique_ptr<Node>& parent, std::unique_ptr<const Node> child) {
    if (!child) return false;
    parent->children.push_back(std::move(child));
    return true;
  }

  std::unique_ptr<const Node> binary(Kind kind, std::unique_ptr<const Node> left,
                                     std::unique_ptr<const Node> right) {
    if (!left || !right) return nullptr;
    auto node = std::make_unique<Node>();
    node->kind = kind;
    node->children.push_back(std::move(left));
    node->children.push_back(std::move(right));
    return node;
  }

  std::unique_ptr<const Node> expression() {
    Depth depth(depth_);
    if (depth_ > PacScript::kMaxNesting) return refuse("too deep a nesting");
    return chain(Kind::Or, "||", &Parser::conjunction);
  }

  std::unique_ptr<const Node> conjunction() { return chain(Kind::And, "&&", &Parser::negation); }

  // Operands joined by one operator, kept flat so long chains cost no nesting.
  std::unique_ptr<const Node> chain(Kind kind, std::string_view op,
                                    std::unique_ptr<const Node> (Parser::*operand)()) {
    auto first = (this->*operand)();
    if (!first || !isPunctuation(op)) return first;
    auto node = std::make_unique<Node>();
    node->kind = kind;
    node->children.push_back(std::move(first));
    while (accept(op)) {
      if (!push(node, (this->*operand)())) return nullptr;
    }
    return node;
  }

  std::unique_ptr<const Node> negation() {
    if (!accept("!")) return comparison();
    Depth depth(depth_);
    if (depth_ > PacScript::kMaxNesting) return refuse("too deep a nesting");
    auto node = std::make_unique<Node>();
    node->kind = Kind::Not;
    if (!push(node, negation())) return nullptr;
    return node;
  }

  std::unique_ptr<const Node> comparison() {
    auto left = primary();
    if (!left) return nullptr;
    if (accept("==") || accept("===")) return binary(Kind::Equal, std::move(left), primary());
    if (accept("!=") || accept("!==")) return binary(Kind::NotEqual, std::move(left), primary());
    return left;
  }

  std::unique_ptr<const Node> primary() {
    const Token& token = peek();
    auto node = std::make_unique<Node>();
    if (accept("(")) {
      auto inner = expression();
      if (!inner || !accept(")")) return refuse("an unclosed parenthesis");
      return inner;
    }
    if (token.type == Token::Type::Text) {
      node->kind = Kind::Text;
      node->text = token.text;
      ++pos_;
      return node;
    }
    if (token.type != Token::Type::Name) return refuse("an unexpected token '" + token.text + "'");
    std::string name = token.text;
    ++pos_;
    if (name == "true" || name == "false") {
      node->kind = name == "true" ? Kind::True : Kind::False;
      return node;
    }
    if (!isPunctuation("(")) {
      if (name == urlName_ || name == hostName_) {
        node->kind = name == urlName_ ? Kind::Url : Kind::Host;
        return node;
      }
      return refuse("the unknown name '" + name + "'");
    }
    return call(std::move(name));
  }

  std::unique_ptr<const Node> call(std::string name) {
    auto function = kFunctions.find(name);
    if (function == kFunctions.end()) return refuse("the unsupported function " + name);
    auto node = std::make_unique<Node>();
    node->kind = Kind::Call;
    node->text = std::move(name);
    accept("(");
    while (!accept(")")) {
      if (!node->children.empty() && !accept(",")) return refuse("an unexpected token in a call");
      if (!push(node, expression())) return nullptr;
    }
    if (node->children.size() != function->second) return refuse("a wrong argument count for " + node->text);
    return node;
  }

  std::vector<Token> tokens_;
  std::size_t pos_ = 0;
  int depth_ = 0;
  std::string urlName_;
  std::string hostName_;
  std::string reason_;
};

// JavaScript values the subset can produce.
struct ScriptValue {
  enum class Type { Null, Boolean, Text };
  Type type = Type::Null;
  bool flag = false;
  std::string text;

  static ScriptValue boolean(bool b) { return {Type::Boolean, b, ""}; }
  static ScriptValue string(std::string s) { return {Type::Text, false, std::move(s)}; }
  bool truthy() const { return type == Type::Boolean ? flag : type == Type::Text && !text.empty(); }
  bool operator==(const ScriptValue&) const = default;
};

// Shell expression match with "*" and "?", backtracking on the last star. Each comparison spends one of
// the steps; with none left the match answers false and the caller gives up on the script.
bool shellMatch(std::string_view text, std::string_view pattern, std::size_t& steps) {
  std::size_t t = 0, p = 0, starP = std::string_view::npos, starT = 0;
  while (t < text.size()) {
    if (steps == 0) return false;
    --steps;
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
      ++t, ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++, starT = t;
    } else if (starP != std::string_view::npos) {
      p = starP + 1, t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::optional<std::uint32_t> ipv4(std::string_view text) {
  in_addr address;
  if (inet_pton(AF_INET, std::string(text).c_str(), &address) != 1) return std::nullopt;
  return ntohl(address.s_addr);
}

std::optional<std::string> systemResolve(std::string_view host) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  addrinfo* results = nullptr;
  if (getaddrinfo(std::string(host).c_str(), nullptr, &hints, &results) != 0 || !results) return std::nullopt;
  char text[INET_ADDRSTRLEN] = {};
  auto* address = reinterpret_cast<sockaddr_in*>(results->ai_addr);
  bool ok = inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) != nullptr;
  freeaddrinfo(results);
  if (!ok) return std::nullopt;
  return std::string(text);
}

class Evaluator {
 public:
  Evaluator(std::string_view url, std::string_view host, PacScript::Resolver resolver)
      : url_(url), host_(host), resolver_(std::move(resolver)) {}

  // Whether pattern matching used up its steps, which makes any answer unreliable.
  bool exhausted() const { return steps_ == 0; }

  // The returned value, or nullopt when the statement does not return.
  std::optional<ScriptValue> run(const Node& node) {
    switch (node.kind) {
      case Kind::Block:
        for (const auto& child : node.children) {
          if (auto result = run(*child)) return result;
        }
        return std::nullopt;
      case Kind::If: {
        const auto& parts = node.children;
        std::size_t i = 0;
        for (; i + 1 < parts.size(); i += 2) {
          if (evaluate(*parts[i]).truthy()) return run(*parts[i + 1]);
        }
        if (i < parts.size()) return run(*parts[i]);
        return std::nullopt;
      }
      case Kind::Return:
        return evaluate(*node.children[0]);
      default:
        return std::nullopt;
    }
  }

 private:
  ScriptValue evaluate(const Node& node) {
    switch (node.kind) {
      case Kind::Or:
        return ScriptValue::boolean(
            std::any_of(node.children.begin(), node.children.end(),
                        [this](const auto& child) { return evaluate(*child).truthy(); }));
      case Kind::And:
        return ScriptValue::boolean(
            std::all_of(node.children.begin(), node.children.end(),
                        [this](const auto& child) { return evaluate(*child).truthy(); }));
      case Kind::Not:
        return ScriptValue::boolean(!evaluate(*node.children[0]).truthy());
      case Kind::Equal:
        return ScriptValue::boolean(evaluate(*node.children[0]) == evaluate(*node.children[1]));
      case Kind::NotEqual:
        return ScriptValue::boolean(!(evaluate(*node.children[0]) == evaluate(*node.children[1])));
      case Kind::Text:
        return ScriptValue::string(node.text);
      case Kind::True:
      case Kind::False:
        return ScriptValue::boolean(node.kind == Kind::True);
      case Kind::Url:
        return ScriptValue::string(url_);
      case Kind::Host:
        return ScriptValue::string(host_);
      case Kind::Call:
        return call(node);
      default:
        return {};
    }
  }

  ScriptValue call(const Node& node) {
    std::vector<ScriptValue> arguments;
    for (const auto& child : node.children) arguments.push_back(evaluate(*child));
    const std::string& name = node.text;
    if (name == "dnsResolve") {
      auto address = arguments[0].type == ScriptValue::Type::Text ? resolve(arguments[0].text) : std::nullopt;
      return address ? ScriptValue::string(*address) : ScriptValue();
    }
    if (!std::all_of(arguments.begin(), arguments.end(),
                     [](const ScriptValue& v) { return v.type == ScriptValue::Type::Text; })) {
      return ScriptValue::boolean(false);
    }
    const std::string& first = arguments[0].text;
    if (name == "isPlainHostName") return ScriptValue::boolean(first.find('.') == std::string::npos);
    if (name == "dnsDomainIs") return ScriptValue::boolean(first.ends_with(arguments[1].text));
    if (name == "localHostOrDomainIs") {
      const std::string& full = arguments[1].text;
      return ScriptValue::boolean(first == full ||
                                  (first.find('.') == std::string::npos && full.starts_with(first + ".")));
    }
    if (name == "shExpMatch") return ScriptValue::boolean(shellMatch(first, arguments[1].text, steps_));
    if (name == "isResolvable") return ScriptValue::boolean(resolve(first).has_value());
    return ScriptValue::boolean(isInNet(first, arguments[1].text, arguments[2].text));
  }

  bool isInNet(const std::string& host, const std::string& pattern, const std::string& mask) {
    auto address = ipv4(host);
    if (!address) {
      auto resolved = resolve(host);
      if (resolved) address = ipv4(*resolved);
    }
    auto network = ipv4(pattern);
    auto bits = ipv4(mask);
    return address && network && bits && (*address & *bits) == (*network & *bits);
  }

  std::optional<std::string> resolve(const std::string& host) {
    if (ipv4(host)) return host;
    return resolver_(host);
  }

  std::string url_;
  std::string host_;
  PacScript::Resolver resolver_;
  std::size_t steps_ = PacScript::kMaxMatchSteps;
};

}  // namespace

PacScript::PacScript(std::unique_ptr<const Node> body) : body_(std::move(body)) {}
PacScript::~PacScript() = default;

std::shared_ptr<const PacScript> PacScript::compile(std::string_view source, ErrorPtr* error) {
  std::string reason;
  std::unique_ptr<const Node> body;
  if (source.size() > kMaxScriptLength) {
    reason = "it is too long";
  } else if (auto tokens = Lexer(source).tokens(reason)) {
    body = Parser(std::move(*tokens)).script(reason);
  }
  if (!body) {
    if (error) *error = cannotEvaluate(reason);
    return nullptr;
  }
  return std::make_shared<const PacScript>(std::move(body));
}

std::optional<std::vector<ProxyEntry>> PacScript::proxiesFor(std::string_view url, std::string_view host,
                                                             ErrorPtr* error, Resolver resolver) const {
  if (!resolver) resolver = systemResolve;
  // Browsers hand the script a lower-case host; its comparisons are case-sensitive.
  Evaluator evaluator(url, text::lowercase(host), std::move(resolver));
  auto result = evaluator.run(*body_);
  if (evaluator.exhausted()) {
    if (error) *error = cannotEvaluate("its pattern matching takes too long");
    return std::nullopt;
  }
  if (!result || result->type != ScriptValue::Type::Text) {
    if (error) *error = cannotEvaluate("FindProxyForURL returned no text");
    return std::nullopt;
  }
  return parseResult(result->text, text::lowercase(url).starts_with("https:"));
}

std::vector<ProxyEntry> PacScript::parseResult(std::string_view result, bool forHttps) {
  std::vector<ProxyEntry> entries;
  if (text::trimWhitespace(result).empty()) return {ProxyEntry::direct()};
  for (const std::string& item : text::split(result, ";")) {
    std::string trimmed = text::trimWhitespace(item);
    std::size_t space = trimmed.find_first_of(" \t");
    std::string keyword = text::uppercase(trimmed.substr(0, space));
    std::string address = space == std::string::npos ? "" : text::trimWhitespace(trimmed.substr(space));
    std::optional<ProxyEntry> entry;
    if (keyword == "DIRECT" && address.empty()) {
      entry = ProxyEntry::direct();
    } else if (keyword == "PROXY" || keyword == "HTTP") {
      entry = ProxyEntry::proxy(forHttps ? ProxyEntry::Type::Https : ProxyEntry::Type::Http, address, 80);
    } else if (keyword == "SOCKS" || keyword == "SOCKS4" || keyword == "SOCKS5") {
      entry = ProxyEntry::proxy(ProxyEntry::Type::Socks, address, 1080);
    }
    if (entry) entries.push_back(std::move(*entry));
  }
  return entries;
}

}  // namespace pf
