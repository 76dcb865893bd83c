namespace telvor::activator {}
