namespace telvor {}
