// The expression evaluator behind __Eval. The text is read into a tree in
// one pass: every token gets a priority (lower binds tighter; parentheses
// subtract 10 per level) and is placed by walking down the right-hand spine
// while the nodes met have a higher number, taking the node met as its left
// child. So equal priorities associate to the left: 2^3^2 is (2^3)^2.
//
// A sum of many terms makes a tree as deep as it is long, so the tree is
// checked, evaluated and freed in loops over explicit stacks; the right-hand
// spine (deep parentheses, chains of signs) is limited, since every token
// walks it.
#include "core.h"

#include <ctype.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "zeltaeval.h"

namespace {

enum class Kind { Number, Variable, Operator, Function };

struct Function {
  const char* name;
  int arguments;
  double (*one)(double);
};

double degreesToRadians(double x) { return x * 0.017453292519943295; }

// Longer names first where one is a prefix of another (log10 before log).
const Function kFunctions[] = {
    {"SQRT", 1, sqrt},   {"ABS", 1, fabs}, {"EXP", 1, exp},    {"COSH", 1, cosh}, {"COS", 1, cos},
    {"LOG10", 1, log10}, {"LOG", 1, log},  {"SINH", 1, sinh},  {"TANH", 1, tanh}, {"GR2RAD", 1, degreesToRadians},
    {"SIN", 1, sin},     {"TAN", 1, tan},  {"POW", 2, nullptr}};

struct Node {
  Kind kind;
  char op = 0;
  int priority = 0;
  double value = 0;
  std::string name;
  const Function* function = nullptr;
  size_t position = 0;
  std::unique_ptr<Node> left, right;
};

// The longest right-hand spine the tree may grow.
constexpr size_t kMaxSpine = 1000;

class Evaluator {
 public:
  Evaluator(std::string text, std::map<std::string, double> variables)
      : text_(std::move(text)), vars_(std::move(variables)) {}
  Evaluator(const Evaluator&) = delete;
  Evaluator& operator=(const Evaluator&) = delete;

  // Frees the tree a node at a time.
  ~Evaluator() {
    std::vector<std::unique_ptr<Node>> pending;
    if (root_) pending.push_back(std::move(root_));
    while (!pending.empty()) {
      std::unique_ptr<Node> node = std::move(pending.back());
      pending.pop_back();
      if (node->left) pending.push_back(std::move(node->left));
      if (node->right) pending.push_back(std::move(node->right));
    }
  }

  int run(double* result) {
    if (!parse() || !root_) return -100;
    check();
    if (error_) return error_;
    const double value = evaluate();
    *result = error_ ? -1 : value;
    return error_;
  }

 private:
  void fail(const char* message, size_t position, int number) {
    char report[1200];
    snprintf(report, sizeof report, "Error:%s\n f(x)=%s\n%*s^\n", message, text_.c_str(),
             static_cast<int>(position + 6), "");
    if (!error_) error_ = number;
  }

  // False when the right-hand spine would grow past kMaxSpine.
  bool place(std::unique_ptr<Node> node) {
    std::unique_ptr<Node>* slot = &root_;
    size_t walked = 0;
    while (*slot && (*slot)->priority > node->priority) {
      slot = &(*slot)->right;
      if (++walked > kMaxSpine) return false;
    }
    node->left = std::move(*slot);
    *slot = std::move(node);
    return true;
  }

  std::unique_ptr<Node> make(Kind kind, int priority, size_t position) {
    auto node = std::make_unique<Node>();
    node->kind = kind;
    node->priority = priority + level_;
    node->position = position;
    return node;
  }

  static bool endsName(const std::string& s, size_t i) {
    const char c = s[i];
    if (strchr("+*,()^!/", c)) return true;
    return c == '-' && !(i + 1 < s.size() && s[i + 1] == '>');
  }

  bool parse() {
    size_t i = 0;
    while (i < text_.size()) {
      const char c = text_[i];
      if (c == '(' || c == ')') {
        level_ += c == '(' ? -10 : 10;
        ++i;
      } else if (strchr("^*/+-,", c)) {
        static const std::map<char, int> kPriority = {{'^', 1}, {'*', 2}, {'/', 2}, {'+', 4}, {'-', 4}, {',', 5}};
        auto node = make(Kind::Operator, kPriority.at(c), i);
        node->op = c;
        if (!place(std::move(node))) return false;
        ++i;
      } else if (isdigit(static_cast<unsigned char>(c)) || c == '.') {
        const char* start = text_.c_str() + i;
        char* end = nullptr;
        const double value = strtod(start, &end);
        // Nothing read (a lone "."): no number starts here.
        if (end == start) return false;
        auto node = make(Kind::Number, 0, i);
        node->value = value;
        if (!place(std::move(node))) return false;
        i = static_cast<size_t>(end - text_.c_str());
      } else {
        const Function* f = matchFunction(i);
        if (f) {
          auto node = make(Kind::Function, 0, i);
          node->function = f;
          if (!place(std::move(node))) return false;
          i += strlen(f->name);
          continue;
        }
        size_t j = i;
        while (j < text_.size() && !endsName(text_, j)) ++j;
        if (j == i) return false;
        auto node = make(Kind::Variable, 0, i);
        node->name = text_.substr(i, j - i);
        if (!place(std::move(node))) return false;
        i = j;
      }
    }
    return true;
  }

  const Function* matchFunction(size_t i) const {
    for (const Function& f : kFunctions) {
      const size_t n = strlen(f.name);
      if (text_.compare(i, n, f.name) == 0 && i + n < text_.size() && text_[i + n] == '(') {
        return &f;
      }
    }
    return nullptr;
  }

  // The first fault of the tree, in the order of a walk from the root, left
  // before right.
  void check() {
    std::vector<const Node*> pending{root_.get()};
    while (!pending.empty() && !error_) {
      const Node* n = pending.back();
      pending.pop_back();
      if (!n) continue;
      checkNode(n);
      pending.push_back(n->right.get());
      pending.push_back(n->left.get());
    }
  }

  void checkNode(const Node* n) {
    switch (n->kind) {
      case Kind::Operator:
        if (!n->right)
          fail("Missing Second Operator", n->position, 1);
        else if (!n->left && n->op != '+' && n->op != '-')
          fail("Missing First Operator", n->position, 1);
        break;
      case Kind::Function:
        if (n->left)
          fail("Missing Operator", n->position, 1);
        else if (!n->right)
          fail("Missing Argument", n->position, 1);
        break;
      case Kind::Variable:
        if (n->right)
          fail("Unknow Function", n->position, 1);
        else if (n->left)
          fail("Missing Operator", n->position, 1);
        break;
      case Kind::Number:
        if (n->left || n->right) fail("Missing Operator", n->position, 1);
        break;
    }
  }

  double variable(const Node* n) {
    auto it = vars_.find(n->name);
    if (it != vars_.end()) return it->second;
    const size_t arrow = n->name.find("->");
    if (arrow != std::string::npos) return field(n->name.substr(0, arrow), n->name.substr(arrow + 2));
    const std::string message = "\nVariavel " + n->name + " não encontrada";
    fail(message.c_str(), n->position, 1000);
    return 0;
  }

  static double field(const std::string& alias, const std::string& name) {
    if (!core::hooks().fieldByName) __RuntimeError(ARGUMENT_ERROR, -1);
    pObj_Node a = __SET_OBJECT(nullptr, __INIT_CHARPTR(alias.c_str()));
    pObj_Node f = __SET_OBJECT(nullptr, __INIT_CHARPTR(name.c_str()));
    pObj_Node value = core::hooks().fieldByName(a, f);
    if (!value || value->objType != T_DOUBLE) __RuntimeError(ARGUMENT_ERROR, -1);
    return value->objData.dValue;
  }

  // Evaluates the checked tree. Each frame is a node and how far its
  // evaluation has come; finished values wait on `values`. Operators take
  // their right operand first.
  double evaluate() {
    struct Frame {
      const Node* node;
      int step;
    };
    std::vector<Frame> frames{{root_.get(), 0}};
    std::vector<double> values;
    auto pop = [&values] {
      const double v = values.back();
      values.pop_back();
      return v;
    };
    while (!frames.empty()) {
      Frame& f = frames.back();
      const Node* n = f.node;
      if (n->kind == Kind::Number || n->kind == Kind::Variable) {
        values.push_back(n->kind == Kind::Number ? n->value : variable(n));
        frames.pop_back();
        continue;
      }
      const int step = f.step++;
      if (n->kind == Kind::Function) {
        const Node* arg = n->right.get();
        if (n->function->arguments == 2) {
          if (step == 0 && (arg->kind != Kind::Operator || arg->op != ',' || !arg->left)) {
            fail("Missing Argument", n->position, 1);
            values.push_back(-1);
            frames.pop_back();
          } else if (step < 2) {
            frames.push_back({step == 0 ? arg->left.get() : arg->right.get(), 0});
          } else {
            const double r = pop(), l = pop();
            values.push_back(pow(l, r));
            frames.pop_back();
          }
        } else if (step == 0) {
          frames.push_back({arg, 0});
        } else {
          values.push_back(n->function->one(pop()));
          frames.pop_back();
        }
        continue;
      }
      const bool unary = !n->left && (n->op == '+' || n->op == '-');
      if (step == 0) {
        frames.push_back({n->right.get(), 0});
      } else if (step == 1 && unary) {
        const double r = pop();
        values.push_back(n->op == '-' ? -r : r);
        frames.pop_back();
      } else if (step == 1) {
        frames.push_back({n->left.get(), 0});
      } else {
        const double l = pop(), r = pop();
        values.push_back(combine(n, l, r));
        frames.pop_back();
      }
    }
    return values.empty() ? 0 : values.back();
  }

  double combine(const Node* n, double l, double r) {
    switch (n->op) {
      case '+': return l + r;
      case '-': return l - r;
      case '*': return l * r;
      case '^': return pow(l, r);
      case '/':
        if (r == 0) {
          fail("Division by zero", n->position, 2000);
          return -1;
        }
        return l / r;
      default: return r;  // ',' outside pow: the last value
    }
  }

  std::string text_;
  std::map<std::string, double> vars_;
  std::unique_ptr<Node> root_;
  int level_ = 0;
  int error_ = 0;
};

std::string upper(const char* s) {
  std::string out;
  for (; *s; ++s) out += static_cast<char>(toupper(static_cast<unsigned char>(*s)));
  return out;
}

}  // namespace

int __evalexpression(const char* text, const double* values, const char* const* names, int count, double* result) {
  std::map<std::string, double> vars = {
      {"PI", 3.141592653589793}, {"PI_2", 6.283185307179586}, {"NE", 2.718281828459045}};
  for (int i = 0; i < count; ++i) vars[upper(names[i])] = values[i];
  std::string clean;
  for (const char* p = text ? text : ""; *p; ++p) {
    if (strchr("\n\r @{|}", *p)) continue;
    clean += static_cast<char>(toupper(static_cast<unsigned char>(*p)));
  }
  Evaluator evaluator(clean, std::move(vars));
  return evaluator.run(result);
}

pObj_Node __Eval(pObj_Node expression, pObj_Node variables) {
  if (!expression || expression->objType != T_CHARPTR || !variables || variables->objKind != vArray ||
      !variables->objData.header || variables->objData.header->count < 1) {
    __RuntimeError(ARGUMENT_ERROR, -1);
  }
  std::vector<std::string> names;
  std::vector<double> values;
  const ArrayHeader* list = variables->objData.header;
  for (int32_t i = 0; i < list->count; ++i) {
    const ArrayCell* el = zeltaCell(list, i);
    if (el->type != T_ARRAY || !el->data.array) continue;
    ArrayHeader* pair = el->data.array->objData.header;
    if (!pair || pair->count < 2) continue;
    pObj_Node name = core::takeElementAlias(pair, 0, 0);
    pObj_Node value = core::takeElementAlias(pair, 1, 0);
    if (name->objType != T_CHARPTR || !name->objData.mbuff || value->objType != T_DOUBLE) continue;
    names.push_back(name->objData.mbuff);
    values.push_back(value->objData.dValue);
  }
  std::vector<const char*> namePtrs;
  for (const std::string& n : names) namePtrs.push_back(n.c_str());
  double result = 0;
  __evalexpression(expression->objData.mbuff ? expression->objData.mbuff : "", values.data(), namePtrs.data(),
                   static_cast<int>(names.size()), &result);
  return __INIT_DOUBLE(result);
}
