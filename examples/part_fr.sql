-- The recorded field history of the failure-data library, read by the field-data method.
-- Valid for SQLite and PostgreSQL alike.
--
-- PartFR: one row per observation of a part in an environment (EnvCode, 1-based as in the items)
-- and process (ProcCode). FRTime is the time of the observation: a failure when IsCencored is 0,
-- a suspension (the part was still working when observation ended) when it is 1. The rows of a
-- part are taken in TimeNumber order. The other columns are carried, not used by the fit.
-- Times and the other numbers are DOUBLE PRECISION: PostgreSQL's REAL is a single.
-- EnvCode and ProcCode are not limited here: the reader keeps the low 8 bits of what it finds.

CREATE TABLE PartFR (
    PartNumber VARCHAR(62)      NOT NULL,
    TimeNumber INTEGER          NOT NULL,
    EnvCode    INTEGER          NOT NULL,
    ProcCode   INTEGER          NOT NULL DEFAULT 0,
    FRTime     DOUBLE PRECISION NOT NULL,
    FRDate     VARCHAR(20),
    IsCencored SMALLINT         NOT NULL DEFAULT 0 CHECK (IsCencored IN (0, 1)),
    Remark     VARCHAR(255),
    ItemNumber INTEGER,
    Tc         DOUBLE PRECISION,
    TimeBtw    DOUBLE PRECISION,
    Mtbfc      DOUBLE PRECISION,
    Mtbfi      DOUBLE PRECISION,
    GrowthRate DOUBLE PRECISION
);

CREATE INDEX PartFR_PartKey ON PartFR (PartNumber, EnvCode, ProcCode, TimeNumber);
