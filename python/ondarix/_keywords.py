"""Keyword values checked once for the functions of the package: a value of
the wrong type is a TypeError naming the keyword, a value of the right type
that makes no sense is left to the check that knows its limits."""

import numbers


def _type_name(value):
    return type(value).__name__


def number(value, keyword):
    """A real number (Python or numpy, not a bool) as a float."""
    if isinstance(value, bool) or not isinstance(value, numbers.Real):
        raise TypeError(f"{keyword} must be a number, not {_type_name(value)}")
    return float(value)


def optional_number(value, keyword, default):
    """number(), or `default` for None."""
    return default if value is None else number(value, keyword)


def whole(value, keyword):
    """An integer (Python or numpy, not a bool) as an int."""
    if isinstance(value, bool) or not isinstance(value, numbers.Integral):
        raise TypeError(f"{keyword} must be a whole number, not {_type_name(value)}")
    return int(value)


def text(value, keyword):
    if not isinstance(value, str):
        raise TypeError(f"{keyword} must be text, not {_type_name(value)}")
    return value
