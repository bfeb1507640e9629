-- =====================================================================================================
-- Scalar functions of the host database, for SQL Server. The embedded database implements the same
-- functions natively with the same results; this file is applied only to a real SQL Server, after
-- schema.sql.
-- =====================================================================================================

-- dbo.GetComplexQty(@item, @qty): a base-unit quantity of an item written in the item's units,
-- from the largest to the smallest, e.g. 51 bottles of an item with 箱 (24), 提 (6) and 瓶 (1)
-- is "2箱3瓶".
--   * The units are the item's rows of vw_Unit (FSrcItemId = @item) with FCoefficient > 0, taken
--     by FCoefficient descending, then FOrder.
--   * Every unit but the smallest takes the whole number of its coefficient that fits into what is
--     left (exact decimal arithmetic) and appears only when that number is above 0, as the integer
--     followed by the unit name.
--   * The smallest unit takes the rest divided by its coefficient, rounded to 4 decimals without
--     trailing zeros ("2.5瓶"); it appears when that is above 0, or when nothing was written yet
--     ("0瓶" for a quantity of 0).
--   * A negative quantity is written for its absolute value with a leading "-". An item without
--     units gives the quantity alone, formatted like the smallest unit. A Null quantity gives Null.
IF OBJECT_ID('dbo.GetComplexQty') IS NOT NULL
    DROP FUNCTION dbo.GetComplexQty
GO

CREATE FUNCTION dbo.GetComplexQty (@item int, @qty decimal(28,10))
RETURNS nvarchar(255)
AS
BEGIN
    DECLARE @result nvarchar(255), @rest decimal(28,10), @coef decimal(28,10), @name nvarchar(30),
            @n decimal(28,10), @count int, @i int, @text varchar(40)
    DECLARE @units TABLE (FNo int IDENTITY(1,1), FCoefficient decimal(28,10), FName nvarchar(30))

    IF @qty IS NULL
        RETURN NULL

    INSERT INTO @units (FCoefficient, FName)
        SELECT FCoefficient, FName
        FROM vw_Unit
        WHERE FSrcItemId = @item AND FCoefficient > 0
        ORDER BY FCoefficient DESC, FOrder
    SELECT @count = COUNT(*) FROM @units

    SET @result = N''
    SET @rest = ABS(@qty)

    IF @count = 0
    BEGIN
        SET @text = CONVERT(varchar(40), CONVERT(decimal(28,4), @rest))
        WHILE CHARINDEX('.', @text) > 0 AND RIGHT(@text, 1) = '0'
            SET @text = LEFT(@text, LEN(@text) - 1)
        IF RIGHT(@text, 1) = '.'
            SET @text = LEFT(@text, LEN(@text) - 1)
        SET @result = @text
    END

    SET @i = 1
    WHILE @i <= @count
    BEGIN
        SELECT @coef = FCoefficient, @name = FName FROM @units WHERE FNo = @i
        IF @i < @count
        BEGIN
            SET @n = FLOOR(@rest / @coef)
            IF @n > 0
            BEGIN
                SET @result = @result + CONVERT(varchar(40), CONVERT(bigint, @n)) + @name
                SET @rest = @rest - @n * @coef
            END
        END
        ELSE
        BEGIN
            SET @n = @rest / @coef
            IF @n > 0 OR @result = N''
            BEGIN
                SET @text = CONVERT(varchar(40), CONVERT(decimal(28,4), @n))
                WHILE CHARINDEX('.', @text) > 0 AND RIGHT(@text, 1) = '0'
                    SET @text = LEFT(@text, LEN(@text) - 1)
                IF RIGHT(@text, 1) = '.'
                    SET @text = LEFT(@text, LEN(@text) - 1)
                SET @result = @result + @text + @name
            END
        END
        SET @i = @i + 1
    END

    IF @qty < 0
        SET @result = N'-' + @result
    RETURN @result
END
GO
