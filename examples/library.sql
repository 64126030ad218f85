-- Example failure-rate table: a few parts in a few environments (rates in failures per 10^6 h).

-- A resistor in ground benign (GB = 1) and ground fixed (GF = 3) use.
INSERT INTO FRTable VALUES ('RC07-1001', 1, -55, 125);
INSERT INTO FRTablePoint VALUES ('RC07-1001', 1, 0, 25, 0.0017);
INSERT INTO FRTablePoint VALUES ('RC07-1001', 1, 1, 50, 0.0024);
INSERT INTO FRTablePoint VALUES ('RC07-1001', 1, 2, 75, 0.0038);
INSERT INTO FRTablePoint VALUES ('RC07-1001', 1, 3, 100, 0.0065);
INSERT INTO FRTable VALUES ('RC07-1001', 3, -55, 125);
INSERT INTO FRTablePoint VALUES ('RC07-1001', 3, 0, 25, 0.0051);
INSERT INTO FRTablePoint VALUES ('RC07-1001', 3, 1, 70, 0.0098);

-- A ceramic capacitor in airborne inhabited cargo (AIC = 12): points out of order, one slot empty.
INSERT INTO FRTable VALUES ('CK05-220', 12, -55, 85);
INSERT INTO FRTablePoint VALUES ('CK05-220', 12, 0, 60, 0.031);
INSERT INTO FRTablePoint VALUES ('CK05-220', 12, 1, 20, 0.012);
INSERT INTO FRTablePoint VALUES ('CK05-220', 12, 3, 40, 0.019);

-- A linear microcircuit in naval sheltered (NS = 7) use, a single point.
INSERT INTO FRTable VALUES ('LM-741A', 7, 0, 70);
INSERT INTO FRTablePoint VALUES ('LM-741A', 7, 0, 40, 0.28);
