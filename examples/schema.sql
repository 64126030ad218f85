-- The failure-rate table of the failure-rate library, read by the host library for the table
-- method. Valid for SQLite and PostgreSQL alike.
--
-- FRTable: one row per part and environment, with the temperature range the table admits.
-- FRTablePoint: up to sixteen (temperature, failure rate) points per part and environment,
-- Slot 0 to 15; a missing slot is an empty point. Points need not be in temperature order.

CREATE TABLE FRTable (
    PartNumber     VARCHAR(62)      NOT NULL,
    EnvCode        INTEGER          NOT NULL CHECK (EnvCode BETWEEN 1 AND 27),
    MinTemperature DOUBLE PRECISION NOT NULL,
    MaxTemperature DOUBLE PRECISION NOT NULL,
    PRIMARY KEY (PartNumber, EnvCode)
);

CREATE TABLE FRTablePoint (
    PartNumber  VARCHAR(62)      NOT NULL,
    EnvCode     INTEGER          NOT NULL,
    Slot        INTEGER          NOT NULL CHECK (Slot BETWEEN 0 AND 15),
    Temperature DOUBLE PRECISION NOT NULL,
    Rate        DOUBLE PRECISION NOT NULL,
    PRIMARY KEY (PartNumber, EnvCode, Slot),
    FOREIGN KEY (PartNumber, EnvCode) REFERENCES FRTable (PartNumber, EnvCode)
);
