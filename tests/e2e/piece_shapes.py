"""The pieces as a player sees them, for the end-to-end tests' expected screens.

SHAPES[kind][rotation] lists the filled (row, column) cells of the piece's 4 x 4 box: the
seven templates in rotation 0, each further rotation a quarter turn counter-clockwise,
pushed up and left until row 0 and column 0 hold a cell.
"""
TEMPLATES = ["X   X   XX      ", " X   X  XX      ", "XX  XX          ",
             "XX   XX         ", " XX XX          ", " X  XXX         ", "X   X   X   X   "]


def _rotations(template):
    cells = [(i // 4, i % 4) for i, ch in enumerate(template) if ch == "X"]
    rotations = []
    for _ in range(4):
        rotations.append(sorted(cells))
        turned = [(3 - c, r) for r, c in cells]
        top, left = min(r for r, _ in turned), min(c for _, c in turned)
        cells = [(r - top, c - left) for r, c in turned]
    return rotations


SHAPES = [_rotations(template) for template in TEMPLATES]
