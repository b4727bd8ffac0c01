"""Finds mutable state that outlives the objects of the libraries: a
variable at namespace scope, a static one in a function or a class, or a
thread_local one. Such state is shared by every window and every test in a
process, keeps its threads and buffers past the application's end, and
cannot be set up afresh by a test; state belongs to an object that its
owner makes and hands on. Constants (const, constexpr) may stay, and so may
static functions. include_rules.py reports what findings() yields."""
import os
import re

LIBRARIES = ["platform", "image", "order", "widgets", "view3d", "resources", "collection", "carousel", "app"]
ALLOWED = {
    # The process's entry point owns what lives as long as the process.
    "app/main.cpp",
}
# The learnt sort tables are generated constants.
ALLOWED_FOLDERS = ("order/generated/",)

# Comments, literals and preprocessor lines: nothing in them declares state.
TEXT = re.compile(r'R"(\w*)\(.*?\)\1"|//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'|^[ \t]*#[^\n]*', re.S | re.M)
NOT_STATE = re.compile(r"^(using|typedef|template|namespace|class|struct|union|enum|friend|extern|static_assert"
                       r"|return|public|private|protected|case|default|Q_[A-Z_]+)\b")
CONSTANT = re.compile(r"\b(const|constexpr|consteval)\b")


def blank(match):
    # Comments and literals keep their line breaks, so findings keep their lines.
    return re.sub(r"[^\n]", " ", match.group(0))


def statements(code):
    """Yields (scope, text, line) for each statement or declaration ended
    by ';' or by an opening brace; scope is "namespace", "class" or
    "function", the kind of the innermost brace around it."""
    stack = []
    start = 0
    parentheses = 0
    for i, c in enumerate(code):
        if c in "()":
            parentheses += 1 if c == "(" else -1
        if c not in ";{}" or parentheses > 0:
            continue  # braces in parentheses are a default argument's or a lambda's
        text = " ".join(code[start:i].split())
        if c == "{" and (text.endswith("=") or stack and stack[-1] == "initialiser"):
            stack.append("initialiser")  # "= {...}" belongs to its statement
            continue
        if c == "}" and stack and stack[-1] == "initialiser":
            stack.pop()
            continue
        begins = re.search(r"\S", code[start:i])
        line = code.count("\n", 0, start + (begins.start() if begins else 0)) + 1
        scope = stack[-1] if stack else "namespace"
        if c == "{":
            yield scope, text + " {", line
            if re.match(r"^(inline )?namespace\b|^extern\b", text):
                stack.append("namespace")
            elif re.search(r"\b(class|struct|union)\b[^()]*$", text):
                stack.append("class")
            elif scope == "class" and "(" not in text:
                stack.append("class")  # a nested enum's or initialiser's braces
            else:
                stack.append("function")
        elif c == "}":
            if stack:
                stack.pop()
        else:
            yield scope, text, line
        start = i + 1


def outer(text):
    """text without what its angle brackets and parentheses hold."""
    # Emptied pairs are marked apart while inner ones are found first.
    emptied = {"(": "\x01", ")": "\x02", "<": "\x03", ">": "\x04"}
    previous = None
    while previous != text:
        previous = text
        text = re.sub(r"<[^<>()]*>|\([^()]*\)", lambda m: emptied[m.group(0)[0]] + emptied[m.group(0)[-1]], text)
    return text.translate(str.maketrans({mark: bracket for bracket, mark in emptied.items()}))


def declared(text):
    """What a declaration declares, without its initialiser."""
    return outer(text).split("=")[0].strip()


def isFunction(text):
    """Whether a declaration at namespace or class scope declares a function:
    its parentheses hold nothing, or parameters that begin with a type, not
    arguments (a literal, an expression) for a variable's constructor."""
    name = re.search(r"(\w+)\s*\(\)", declared(text))
    if not name:
        return False
    opening = re.search(r"\b" + name.group(1) + r"\s*\(", text)
    first, depth = "", 0
    for c in text[opening.end():]:
        depth += (c in "(<") - (c in ")>")
        if depth < 0 or depth == 0 and c == ",":
            break
        first += c
    first = outer(first).strip()
    return first in ("", "void", "int", "bool", "double", "float", "char") or re.match(
        r"^[A-Za-z_:][\w:<>,\s]*[\s*&]+\w*$", first) is not None


def mutable(scope, text):
    """Whether statement text, met at scope, declares a variable that keeps
    mutable state beyond an object."""
    if not text or NOT_STATE.match(text):
        return False
    if text.endswith("{"):
        head = text[:-1].rstrip()
        # Only "T name{" opens a variable's initialiser; anything else is a
        # function, a class or a block.
        if "(" in head or "=" in head or not re.match(r"^(static |thread_local )*[\w:<>,* &]+ \w+$", head):
            return False
        text = head
    if CONSTANT.search(declared(text)):
        return False
    shared = re.match(r"^(static|thread_local)\b", text) is not None
    if scope == "function":
        # A block-scope static is always a variable.
        return shared
    if scope == "class" and not shared:
        return False
    return not isFunction(text) and re.match(r"^[\w:<>,*& \[\]()]+$", declared(text)) is not None


def findings(root):
    for library in LIBRARIES:
        for top, _, names in os.walk(os.path.join(root, library)):
            for name in sorted(names):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.relpath(os.path.join(top, name), root).replace(os.sep, "/")
                if path in ALLOWED or path.startswith(ALLOWED_FOLDERS):
                    continue
                with open(os.path.join(root, path), encoding="utf-8") as source:
                    code = TEXT.sub(blank, source.read())
                for scope, text, line in statements(code):
                    if mutable(scope, text):
                        yield f"{path}:{line}: mutable state at {scope} scope: {text}"
