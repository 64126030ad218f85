-- Example field histories for the field-data method (items with Mode 2).
-- FRTime in hours. Failures and suspensions are merged by TimeNumber; within each kind the
-- times keep the order in which the fit takes them, so the results can be checked.

-- A relay in ground fixed use: three failures.
-- Fit with time origin 20: shape 2.03595376, scale 51.3612442.
INSERT INTO PartFR (PartNumber, TimeNumber, EnvCode, ProcCode, FRTime, IsCencored, Remark, ItemNumber) VALUES
    ('RLY-2210', 1, 3, 0, 38.5, 0, 'failed', 1),
    ('RLY-2210', 2, 3, 0, 61.25, 0, 'failed', 2),
    ('RLY-2210', 3, 3, 0, 97.0, 0, 'failed', 3);

-- The same relay in ground mobile use: two failures and a unit still running.
-- Fit with time origin 20: shape 1.98571444, scale 88.0418701.
INSERT INTO PartFR (PartNumber, TimeNumber, EnvCode, ProcCode, FRTime, IsCencored, Remark, ItemNumber) VALUES
    ('RLY-2210', 1, 4, 0, 45.5, 0, 'failed', 1),
    ('RLY-2210', 2, 4, 0, 88.0, 1, 'still running', 2),
    ('RLY-2210', 3, 4, 0, 120.0, 0, 'failed', 3);

-- A fan in ground benign use: eight failures, two suspensions.
-- Fit with time origin 20: shape 1.40527153, scale 571.522217.
INSERT INTO PartFR (PartNumber, TimeNumber, EnvCode, ProcCode, FRTime, IsCencored, Remark, ItemNumber) VALUES
    ('FAN-0412', 1, 1, 0, 376.55, 0, 'failed', 1),
    ('FAN-0412', 2, 1, 0, 571.1, 1, 'still running', 2),
    ('FAN-0412', 3, 1, 0, 122.87, 1, 'still running', 3),
    ('FAN-0412', 4, 1, 0, 960.5, 0, 'failed', 4),
    ('FAN-0412', 5, 1, 0, 417.54, 0, 'failed', 5),
    ('FAN-0412', 6, 1, 0, 193.36, 0, 'failed', 6),
    ('FAN-0412', 7, 1, 0, 517.98, 0, 'failed', 7),
    ('FAN-0412', 8, 1, 0, 126.9, 0, 'failed', 8),
    ('FAN-0412', 9, 1, 0, 124.14, 0, 'failed', 9),
    ('FAN-0412', 10, 1, 0, 1138.44, 0, 'failed', 10);

-- A seal whose part number holds an apostrophe, naval sheltered: 15 failures, 10 suspensions.
-- Fit with time origin 20: shape 4.06431818, scale 4002.34131.
INSERT INTO PartFR (PartNumber, TimeNumber, EnvCode, ProcCode, FRTime, IsCencored, Remark, ItemNumber) VALUES
    ('O''RING-3', 1, 7, 0, 2022.76, 1, 'still running', 1),
    ('O''RING-3', 2, 7, 0, 2733.41, 0, 'failed', 2),
    ('O''RING-3', 3, 7, 0, 2277.53, 0, 'failed', 3),
    ('O''RING-3', 4, 7, 0, 2664.5, 0, 'failed', 4),
    ('O''RING-3', 5, 7, 0, 3121.02, 1, 'still running', 5),
    ('O''RING-3', 6, 7, 0, 459.43, 1, 'still running', 6),
    ('O''RING-3', 7, 7, 0, 2191.69, 1, 'still running', 7),
    ('O''RING-3', 8, 7, 0, 2259.79, 1, 'still running', 8),
    ('O''RING-3', 9, 7, 0, 3434.6, 1, 'still running', 9),
    ('O''RING-3', 10, 7, 0, 2429.04, 1, 'still running', 10),
    ('O''RING-3', 11, 7, 0, 3500.6, 0, 'failed', 11),
    ('O''RING-3', 12, 7, 0, 2883.2, 0, 'failed', 12),
    ('O''RING-3', 13, 7, 0, 4034.53, 1, 'still running', 13),
    ('O''RING-3', 14, 7, 0, 1637.22, 1, 'still running', 14),
    ('O''RING-3', 15, 7, 0, 3370.23, 1, 'still running', 15),
    ('O''RING-3', 16, 7, 0, 5109.43, 0, 'failed', 16),
    ('O''RING-3', 17, 7, 0, 1853.2, 0, 'failed', 17),
    ('O''RING-3', 18, 7, 0, 3250.76, 0, 'failed', 18),
    ('O''RING-3', 19, 7, 0, 3127.26, 0, 'failed', 19),
    ('O''RING-3', 20, 7, 0, 3615.13, 0, 'failed', 20),
    ('O''RING-3', 21, 7, 0, 5105.04, 0, 'failed', 21),
    ('O''RING-3', 22, 7, 0, 3857.68, 0, 'failed', 22),
    ('O''RING-3', 23, 7, 0, 2107.71, 0, 'failed', 23),
    ('O''RING-3', 24, 7, 0, 4245.04, 0, 'failed', 24),
    ('O''RING-3', 25, 7, 0, 4792.07, 0, 'failed', 25);

-- A pump that has not failed yet: five suspensions only, too little for a fit.
-- No failure: the fit is refused.
INSERT INTO PartFR (PartNumber, TimeNumber, EnvCode, ProcCode, FRTime, IsCencored, Remark, ItemNumber) VALUES
    ('PMP-77', 1, 1, 0, 35.0, 1, 'still running', 1),
    ('PMP-77', 2, 1, 0, 52.5, 1, 'still running', 2),
    ('PMP-77', 3, 1, 0, 70.0, 1, 'still running', 3),
    ('PMP-77', 4, 1, 0, 110.25, 1, 'still running', 4),
    ('PMP-77', 5, 1, 0, 160.0, 1, 'still running', 5);
